// CWindow: HWND binding, subclassing and message routing.
#include "Window.h"

#include "SystemLibrary.h"
#include "Text.h"

#include <commctrl.h>

namespace {
// The window property that points from an HWND to its CWindow.
const wchar_t* const objectProperty = L"Orvand.CWindow";

// USER32, in every process with a window; newer functions of it are looked up at run time.
HMODULE User32() {
    return GetModuleHandleW(L"user32.dll");
}
} // namespace

CWindow::~CWindow() {
    Detach();
}

CWindow* CWindow::FromHandle(HWND window) {
    return window ? static_cast<CWindow*>(GetPropW(window, objectProperty)) : nullptr;
}

bool CWindow::Subclass(HWND window) {
    // A window has one object: a second one would take over its place on the chain, and the
    // first one's going would then unhook the second.
    if (!window || hwnd || FromHandle(window)) return false;
    // Whoever subclasses later (the tooltips, for one) stays on the chain in front of us.
    if (!SetWindowSubclass(window, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    Attach(window);
    subclassed = true;
    return true;
}

bool CWindow::PreTranslateMessage(MSG&) {
    return false;
}

bool CWindow::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool CWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    CWindow* control = FromHandle(reinterpret_cast<HWND>(lParam));
    if (control && control != this && control->Dispatch(reflectedCommand, wParam, lParam, result))
        return true;
    return ProcessMessage(WM_COMMAND, wParam, lParam, result);
}

std::string CWindow::GetText() const {
    return ReadWindowText(hwnd);
}

void CWindow::SetText(const std::string& text) {
    WriteWindowText(hwnd, text);
}

void CWindow::Attach(HWND window) {
    hwnd = window;
    SetPropW(window, objectProperty, this);
}

void CWindow::Detach() {
    if (subclassed) RemoveWindowSubclass(hwnd, SubclassProc, 0);
    subclassed = false;
    if (hwnd) RemovePropW(hwnd, objectProperty);
    hwnd = nullptr;
}

bool CWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool outer = handled; // handlers may run nested
    handled = true;
    const bool done =
        msg == WM_COMMAND ? OnCommand(wParam, lParam) : ProcessMessage(msg, wParam, lParam, result);
    handled = outer;
    return done;
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR object) {
    CWindow* self = reinterpret_cast<CWindow*>(object);
    LRESULT result = 0;
    if (msg == WM_NCDESTROY)
        self->Detach(); // the chain goes on to the control's own procedure
    else if (self->Dispatch(msg, wParam, lParam, result))
        return result;
    return DefSubclassProc(window, msg, wParam, lParam);
}

UINT CWindow::Dpi() const {
    const auto dpiForWindow = framework::Find<UINT(WINAPI*)(HWND)>(User32(), "GetDpiForWindow");
    return dpiForWindow && hwnd ? dpiForWindow(hwnd) : 0;
}
