// Accessible names: what a screen reader reads for a control, from the program's own texts.
#pragma once

#include <windows.h>

#include <string>

// Gives `control` a name and a description (CP1252) for assistive clients; an empty text
// leaves the control's own. Everything else comes from the system's standard object, and the
// accessibility library is loaded only when a client first asks.
bool SetAccessibleTexts(HWND control, const std::string& name, const std::string& description);

// How a screen reader reads the changes of a live region: when it has finished what it is
// saying, or at once (UI Automation's live settings).
enum class LiveSetting { polite = 1, assertive = 2 };
// Makes `control` a live region for the clients that read the setting (UI Automation, Windows 8
// on). The system learns the setting when an assistive client first asks for the control (or
// on a later request, where it failed), so that a program without one loads nothing for it;
// the setting goes with the control.
bool SetLiveRegion(HWND control, LiveSetting setting);
// Tells assistive clients that the text of the live region `control` changed: they read it.
void AnnounceChange(HWND control);
