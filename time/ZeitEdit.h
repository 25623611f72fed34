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
    // Text from the clipboard or the control as the field reads it: CP1252, with the blanks
    // and invisible characters that code page lacks as plain blanks, which the field trims.
    static std::string FieldText(const wchar_t* text, size_t length);

protected:
    // The control's own editing changed the text: the field reads it back.
    void OnChange();
    void GetSel(int& start, int& end) override;
    void SetSel(int start, int end) override;
    void ScrollCaret() override;
    void ShowText(const char* newText) override;

    MESSAGE_TABLE(CZeitEdit, CWindow)
};
