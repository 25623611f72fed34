// Accessible names: what a screen reader reads for a control, from the program's own texts.
#pragma once

#include <windows.h>

#include <string>

// Gives `control` a name and a description (CP1252) for assistive clients; an empty text
// leaves the control's own. Everything else comes from the system's standard object, and the
// accessibility library is loaded only when a client first asks.
bool SetAccessibleTexts(HWND control, const std::string& name, const std::string& description);
