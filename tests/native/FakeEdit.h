// A stand-in for the edit control under a time field: text, selection and caret only.
#pragma once

#include "time/ZeitFeld.h"

#include <algorithm>
#include <cstring>
#include <string>

class FakeEdit : public ZeitFeld {
public:
    char shown[64] = {};
    int selStart = 0, selEnd = 0;
    int scrolls = 0;

    std::string Text() const { return shown; }
    int Caret() const { return selStart; }
    // The mouse selects characters from..to.
    void Select(int from, int to) { SetSel(from, to); }
    // Something else on screen, as after the control's own editing.
    void Overwrite(const char* other) { ShowText(other); }
    // The control's own editing: typed text replaces the selection, and the control tells
    // the field that its text changed.
    void ReplaceSelection(const char* typed) {
        std::string text = shown;
        text.replace(size_t(selStart), size_t(selEnd - selStart), typed);
        std::snprintf(shown, sizeof shown, "%s", text.c_str());
        selStart = selEnd = selStart + int(std::strlen(typed));
        TextChanged(shown);
    }

protected:
    void GetSel(int& start, int& end) override {
        start = selStart;
        end = selEnd;
    }
    // Like EM_SETSEL: positions past the end are clamped to the end.
    void SetSel(int start, int end) override {
        const int length = int(std::strlen(shown));
        selStart = std::clamp(std::min(start, end), 0, length);
        selEnd = std::clamp(std::max(start, end), 0, length);
    }
    void ScrollCaret() override { ++scrolls; }
    // Like WM_SETTEXT: the new text with the caret at its start, and the change told.
    void ShowText(const char* newText) override {
        std::snprintf(shown, sizeof shown, "%s", newText);
        selStart = selEnd = 0;
        TextChanged(shown);
    }
};
