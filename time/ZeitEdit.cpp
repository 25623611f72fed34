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

std::string CZeitEdit::FieldText(const wchar_t* text, size_t length) {
    std::wstring wide(text, length);
    for (wchar_t& ch : wide)
        if (ch > 0xFF && IsBlank(ch)) ch = L' ';
    return Narrow(wide.data(), int(wide.size()));
}

void CZeitEdit::OnChange() {
    // Enough of the text to judge it: one character more than the longest the field reads.
    wchar_t shown[longestText + 2] = {};
    const int length = GetWindowTextW(hwnd, shown, int(longestText + 2));
    TextChanged(FieldText(shown, size_t(length > 0 ? length : 0)));
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
