// CZeitEdit: the masked HH:MM:SS time field on a Win32 edit control.
#pragma once

#include "ZeitFeld.h"
#include "../framework/Window.h"

// An edit control that keeps one time of day in six digit slots (see ZeitFeld).
// Key-downs reach it through pre-translation, before the edit control's own editing.
class CZeitEdit : public CWindow, public ZeitFeld {
public:
    // Handles a key-down bound for the field; may blank the key (wParam 0).
    bool HandleKeyDown(MSG& msg);
    bool PreTranslateMessage(MSG& msg) override { return HandleKeyDown(msg); }

protected:
    void GetSel(int& start, int& end) override;
    void SetSel(int start, int end) override;
    void ScrollCaret() override;
    void ShowText(const char* newText) override;

    MESSAGE_TABLE(CZeitEdit, CWindow)
};
