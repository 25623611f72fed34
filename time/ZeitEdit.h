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
    // The UTF-16 units a reader needs to judge a text: every character of the longest text the
    // field reads and one more, each a surrogate pair. A text that fills them is too long.
    static constexpr size_t unitsToJudge = 2 * (longestText + 1);
    // Text from the clipboard or the control as the field reads it: CP1252, a character beyond
    // the Basic Multilingual Plane (a surrogate pair, or a lone half) one "?", the blanks and
    // invisible characters that code page lacks as plain blanks, which the field trims. `full`:
    // the reader took all it reads, so the text is too long, whatever the units make.
    static std::string FieldText(const wchar_t* text, size_t length, bool full);

protected:
    // The control's own editing changed the text: the field reads it back.
    void OnChange();
    void GetSel(int& start, int& end) override;
    void SetSel(int start, int end) override;
    void ScrollCaret() override;
    void ShowText(const char* newText) override;

    MESSAGE_TABLE(CZeitEdit, CWindow)
};
