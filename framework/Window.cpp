// CWindow: HWND binding, subclassing and message routing.
#include "Window.h"

#include "Text.h"

namespace {
// The window property that points from an HWND to its CWindow.
const wchar_t* const objectProperty = L"Orvand.CWindow";
} // namespace

CWindow::~CWindow() {
    if (hwnd && previousProc && IsWindow(hwnd))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    Detach();
}

CWindow* CWindow::FromHandle(HWND window) {
    return window ? static_cast<CWindow*>(GetPropW(window, objectProperty)) : nullptr;
}

bool CWindow::Subclass(HWND window) {
    if (!window || hwnd) return false;
    Attach(window);
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    return previousProc != nullptr;
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
    if (hwnd) RemovePropW(hwnd, objectProperty);
    hwnd = nullptr;
    previousProc = nullptr;
}

bool CWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool outer = handled; // handlers may run nested
    handled = true;
    const bool done =
        msg == WM_COMMAND ? OnCommand(wParam, lParam) : ProcessMessage(msg, wParam, lParam, result);
    handled = outer;
    return done;
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindow* self = FromHandle(window);
    if (!self) return DefWindowProcW(window, msg, wParam, lParam);
    const WNDPROC previous = self->previousProc;
    LRESULT result = 0;
    if (msg != WM_NCDESTROY && self->Dispatch(msg, wParam, lParam, result)) return result;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        self->Detach();
    }
    return CallWindowProcW(previous, window, msg, wParam, lParam);
}
