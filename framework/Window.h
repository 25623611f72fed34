// CWindow: binds an HWND to its C++ object and routes its messages through message tables.
#pragma once

#include "MessageTable.h"

#include <windows.h>

#include <string>

class CWindow {
public:
    HWND hwnd = nullptr;

    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    virtual ~CWindow();

    // The object bound to `window`, or nullptr.
    static CWindow* FromHandle(HWND window);
    // Binds an existing control and joins its subclass chain; undone by the destructor or
    // when the window goes, whichever comes first. False for a window bound to an object already.
    bool Subclass(HWND window);

    // Sees a message before it is translated and dispatched; true when it was consumed.
    virtual bool PreTranslateMessage(MSG& msg);
    // Hands a message to the class's message tables; true when a handler took it.
    virtual bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Every WM_COMMAND arrives here first: reflection to the control, then the tables.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);

    // The window text, as CP1252.
    std::string GetText() const;
    void SetText(const std::string& text);
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd, msg, wParam, lParam);
    }

    // Whether the current handler kept its message (see LeaveToDefault).
    bool Handled() const { return handled; }

    // The window's DPI (96 at 100 %) where the system keeps one per window, else 0.
    UINT Dpi() const;

protected:
    // Binds `window` to this object (no change to the window procedure).
    void Attach(HWND window);
    // Unbinds the object (and takes it off the subclass chain) when either of them goes.
    void Detach();
    // Routes one message: command hook or tables. True when it was handled.
    bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called from a message handler: the platform's default handling runs afterwards.
    void LeaveToDefault() { handled = false; }

private:
    // The binding's place on a control's subclass chain: the tables first, then the chain.
    static LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR object);

    bool subclassed = false;
    bool handled = true;
};
