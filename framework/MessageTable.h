// Per-class message tables: rows that map a message, command or notification to a member.
#pragma once

#include <windows.h>

// A control's own WM_COMMAND notification, handed back to the control by its parent.
const UINT reflectedCommand = WM_USER + 0x1C00 + WM_COMMAND;

// One row of a class's message table; the table ends with TableEnd<T>().
template <class T> struct MessageEntry {
    enum Kind { end, message, command, reflected, notify };
    Kind kind;
    UINT code; // window message, command ID or notification code
    LRESULT (T::*handler)(WPARAM, LPARAM);
    void (T::*action)();
    bool (T::*notification)(NMHDR*, LRESULT&);
};

// Window message `msg` -> handler(wParam, lParam).
template <class T> constexpr MessageEntry<T> Message(UINT msg, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {MessageEntry<T>::message, msg, fn, nullptr, nullptr};
}

// Command `id` from a button, menu or accelerator -> action().
template <class T> constexpr MessageEntry<T> Command(UINT id, void (T::*fn)()) {
    return {MessageEntry<T>::command, id, nullptr, fn, nullptr};
}

// The control's own notification `code`, reflected by its parent -> action().
template <class T> constexpr MessageEntry<T> Reflected(UINT code, void (T::*fn)()) {
    return {MessageEntry<T>::reflected, code, nullptr, fn, nullptr};
}

// WM_NOTIFY with notification `code` -> notification(header, result); false leaves it
// unhandled, true answers with `result` (0 unless the handler sets it).
template <class T> constexpr MessageEntry<T> Notify(UINT code, bool (T::*fn)(NMHDR*, LRESULT&)) {
    return {MessageEntry<T>::notify, code, nullptr, nullptr, fn};
}

template <class T> constexpr MessageEntry<T> TableEnd() {
    return {MessageEntry<T>::end, 0, nullptr, nullptr, nullptr};
}

// Whether a WM_COMMAND is a command: from a menu (code 0) or an accelerator (code 1), both
// without a control, or a button's click. Other controls' notifications are no commands.
inline bool IsCommand(UINT code, LPARAM control) {
    return control == 0 ? code <= 1 : code == BN_CLICKED;
}

// Looks for the row that matches; true when a handler took the message.
template <class T>
bool DispatchTable(T* self, const MessageEntry<T>* row, UINT msg, WPARAM wParam, LPARAM lParam,
                   LRESULT& result) {
    using Entry = MessageEntry<T>;
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    for (; row->kind != Entry::end; ++row) {
        switch (row->kind) {
        case Entry::message:
            if (msg != row->code) break;
            result = (self->*row->handler)(wParam, lParam);
            return self->Handled();
        case Entry::command:
            if (msg != WM_COMMAND || id != row->code || !IsCommand(code, lParam)) break;
            (self->*row->action)();
            return true;
        case Entry::reflected:
            if (msg != reflectedCommand || code != row->code) break;
            (self->*row->action)();
            return true;
        case Entry::notify:
            if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != row->code) break;
            result = 0;
            if ((self->*row->notification)(reinterpret_cast<NMHDR*>(lParam), result)) return true;
            break;
        case Entry::end:
            break;
        }
    }
    return false;
}

// Declares a class's table and chains it to the base class's tables.
#define MESSAGE_TABLE(Class, Base)                                                                 \
    static const MessageEntry<Class> messageTable[];                                               \
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {        \
        return DispatchTable(this, messageTable, msg, wParam, lParam, result) ||                   \
               Base::ProcessMessage(msg, wParam, lParam, result);                                  \
    }
