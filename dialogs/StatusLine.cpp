// CStatusLine: the calculator's status line.
#include "StatusLine.h"

#include "../framework/Accessible.h"

const MessageEntry<CStatusLine> CStatusLine::messageTable[] = {
    Message(WM_GETDLGCODE, &CStatusLine::OnGetDlgCode),
    TableEnd<CStatusLine>(),
};

namespace {

// Whether CP1252 byte `ch` stands for a control character: C0, DEL, or one of the five bytes
// that code page leaves undefined, which stand for the C1 controls of the same number.
bool IsControl(unsigned char ch) {
    return ch < 0x20 || ch == 0x7F || ch == 0x81 || ch == 0x8D || ch == 0x8F || ch == 0x90 ||
           ch == 0x9D;
}

} // namespace

void CStatusLine::Show(const std::string& text) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (!(style & SS_NOPREFIX)) SetWindowLongPtrW(hwnd, GWL_STYLE, style | SS_NOPREFIX);
    std::string shown = text;
    for (char& ch : shown)
        if (IsControl(static_cast<unsigned char>(ch))) ch = '?';
    SetText(shown);
    if (!shown.empty()) AnnounceChange(hwnd); // a message for the user; the cleared line is none
}
