// CStatusLine: the calculator's status line, which quotes unusable pasted text.
#pragma once

#include "../framework/Window.h"

#include <string>

// A static control that shows a text as it came: an "&" in it is a character, neither an
// underline nor a shortcut, and a control character shows as "?". Screen readers read each
// new message of the line (a live region).
class CStatusLine : public CWindow {
public:
    // Shows `text` (CP1252) in the line and, unless it is empty, announces it.
    void Show(const std::string& text);

private:
    // The dialog manager looks for mnemonics in statics only: the line is none to it.
    LRESULT OnGetDlgCode(WPARAM, LPARAM) { return 0; }

    MESSAGE_TABLE(CStatusLine, CWindow)
};
