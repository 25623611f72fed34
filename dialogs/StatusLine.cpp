// CStatusLine: the calculator's status line.
#include "StatusLine.h"

#include "../framework/Accessible.h"

const MessageEntry<CStatusLine> CStatusLine::messageTable[] = {
    Message(WM_GETDLGCODE, &CStatusLine::OnGetDlgCode),
    TableEnd<CStatusLine>(),
};

void CStatusLine::Show(const std::string& text) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (!(style & SS_NOPREFIX)) SetWindowLongPtrW(hwnd, GWL_STYLE, style | SS_NOPREFIX);
    std::string shown = text;
    for (char& ch : shown)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = '?';
    SetText(shown);
    if (!shown.empty()) AnnounceChange(hwnd); // a message for the user; the cleared line is none
}
