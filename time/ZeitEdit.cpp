// CZeitEdit: the masked HH:MM:SS time field on a Win32 edit control.
#include "ZeitEdit.h"

#include "../framework/Text.h"

const MessageEntry<CZeitEdit> CZeitEdit::messageTable[] = {
    Reflected<CZeitEdit>(EN_SETFOCUS, &CZeitEdit::OnFocus),
    Reflected<CZeitEdit>(EN_CHANGE, &CZeitEdit::OnChange),
    TableEnd<CZeitEdit>(),
};

bool CZeitEdit::HandleKeyDown(MSG& msg) {
    // Alt+key arrives as WM_SYSKEYDOWN and passes unchanged, like everything but key-downs.
    if (msg.message == WM_KEYDOWN && KeyDown(unsigned(msg.wParam)))
        msg.wParam = 0; // neither the edit control nor WM_CHAR see the key
    return CWindow::PreTranslateMessage(msg);
}

std::string CZeitEdit::FieldText(const wchar_t* text, size_t length, bool full) {
    // A character is one character to the field, whatever a converter makes of a pair.
    std::wstring wide;
    wide.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        wchar_t ch = text[i];
        if (ch >= 0xD800 && ch <= 0xDFFF) {
            if (ch < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i; // the low half of the pair
            ch = L'?';
        } else if (ch > 0xFF && IsBlank(ch)) {
            ch = L' ';
        }
        wide += ch;
    }
    std::string narrow = Narrow(wide.data(), int(wide.size()));
    if (full && narrow.size() <= longestText) narrow.resize(longestText + 1, '?');
    return narrow;
}

void CZeitEdit::OnChange() {
    wchar_t shown[unitsToJudge + 1] = {};
    const int length = GetWindowTextW(hwnd, shown, int(unitsToJudge + 1));
    const size_t read = size_t(length > 0 ? length : 0);
    TextChanged(FieldText(shown, read, read == unitsToJudge));
}

void CZeitEdit::GetSel(int& start, int& end) {
    DWORD from = 0, to = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = int(from);
    end = int(to);
}

void CZeitEdit::SetSel(int start, int end) {
    Send(EM_SETSEL, WPARAM(start), LPARAM(end));
}

void CZeitEdit::ScrollCaret() {
    Send(EM_SCROLLCARET);
}

void CZeitEdit::ShowText(const char* newText) {
    // The mask is ASCII; widened on the stack so that typing allocates nothing.
    wchar_t wide[16] = {};
    MultiByteToWideChar(1252, 0, newText, -1, wide, 15);
    SetWindowTextW(hwnd, wide);
}
