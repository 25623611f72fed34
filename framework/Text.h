// The program keeps its texts in code page 1252; windows get them as UTF-16.
#pragma once

#include <windows.h>

#include <string>

// CP1252 text as UTF-16, whatever the ANSI code page of the system.
std::wstring Widen(const std::string& text);
// UTF-16 as CP1252; characters outside it become '?' (no best fit: "\u221E" is not "8").
std::string Narrow(const wchar_t* text, int length);
// Text in the system's ANSI code page (the clipboard's CF_TEXT) as UTF-16.
std::wstring WidenAnsi(const char* text, int length);
// The window text of `window`, as CP1252.
std::string ReadWindowText(HWND window);
// Sets the window text of `window` from CP1252.
void WriteWindowText(HWND window, const std::string& text);
