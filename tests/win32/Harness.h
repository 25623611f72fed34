// Helpers for driving real windows through the program's own message routing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Routes every waiting message through pre-translation, translation and dispatch.
void Pump();
// Posts a key-down and key-up for `vk` to `target` and routes them.
void Press(HWND target, UINT vk);
// Presses each character of `keys` (digits and capital letters are their own key codes).
void Type(HWND target, const char* keys);
// Alt+`vk`, as the keyboard delivers it: WM_SYSKEYDOWN with the context bit.
void AltPress(HWND target, UINT vk);
// The selection of an edit control.
DWORD SelStart(HWND edit);
DWORD SelEnd(HWND edit);
// The window text as UTF-16.
std::wstring WideText(HWND window);
// Puts `bytes` on the clipboard as `format` (a block of exactly `size` bytes).
bool PutClipboard(const void* bytes, size_t size, UINT format = CF_TEXT);
bool PutClipboardText(const std::string& text);
// The clipboard's CF_TEXT, or "<none>".
std::string ClipboardText();
// Empties the clipboard.
void ClearClipboard();
// How many windows of class `className` this thread has.
int ThreadWindows(const wchar_t* className);
// The pixels (0xRRGGBB) of a window's client area as the window draws them into a bitmap of ours,
// so that nothing on the screen in front of it counts; `shown`: the whole window as it shows it.
std::vector<DWORD> Capture(HWND window, bool shown = false);
// The directory of the test program (the program is built beside it).
std::wstring ExeDirectory();
// The program file that the tests read: Orvand.exe beside the test program, or the file that
// the environment variable ORVAND_PROGRAM names (the other architecture's program).
std::wstring ProgramPath();
// The bytes of resource (type, id) in that file; empty when it has none.
std::string ProgramResource(LPCWSTR type, LPCWSTR id);
// The images of the program icon (group IDR_MAINFRAME) in the built Orvand.exe, in order.
struct IconImage {
    int size, bits;
    std::string bytes;
};
std::vector<IconImage> ProgramIcon();
// Runs the InfoCopy suite in a copy of this program named `name` (see InfoDlgTest.cpp);
// the copy's exit code, 0 when it showed what `expected` describes.
DWORD RunCopy(const std::wstring& name, const char* expected, bool withVersion, bool withClip);
// What an assistive client reads from a control's client object: the program's answer to
// WM_GETOBJECT, or with `standard` the system's own object for the control. The name also as a
// late-bound client reads it, through IDispatch::Invoke.
struct AccessibleView {
    std::wstring name, value, description, lateBoundName;
    LONG role = -1;
};
bool ReadAccessible(HWND control, AccessibleView& view, bool standard = false);
