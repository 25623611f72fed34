// CRechnerDlg: the calculator window.
#include "RechnerDlg.h"

#include "../framework/App.h"
#include "../resources/resource.h"

#include <cstring>

const MessageEntry<CRechnerDlg> CRechnerDlg::messageTable[] = {
    Command(IDC_DIFFERENZ, &CRechnerDlg::OnCalculate),
    Command(IDC_HOLEN1, &CRechnerDlg::OnFromClipboard1),
    Command(IDC_HOLEN2, &CRechnerDlg::OnFromClipboard2),
    Command(IDC_ABLEGEN, &CRechnerDlg::OnToClipboard),
    TableEnd<CRechnerDlg>(),
};

CRechnerDlg::CRechnerDlg() : CDialog(IDD_RECHNER) {
    const CApp* app = CApp::Current();
    icon =
        LoadIconW(app ? app->instance : GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void CRechnerDlg::DoDataExchange() {
    Bind(IDC_ERGEBNIS, result);
    Bind(IDC_ZEIT2, second);
    Bind(IDC_ZEIT1, first);
}

void CRechnerDlg::OnCalculate() {
    const ZeitSpanne span = first.GetZeit() - second.GetZeit();
    ZeitWert difference;
    difference = span.days; // an invalid span has no day count: the result shows the empty mask
    if (difference.days < 0.0) difference = -span.days;
    result.SetZeit(difference, "");
}

void CRechnerDlg::OnFromClipboard1() {
    FromClipboard(first);
}

void CRechnerDlg::OnFromClipboard2() {
    FromClipboard(second);
}

void CRechnerDlg::FromClipboard(CZeitEdit& field) {
    ShowStatus("");
    std::string text;
    if (!ReadClipboardText(text)) return;
    field.ParseText(text);
    std::string message;
    if (field.FetchError(message)) ShowStatus(message);
}

void CRechnerDlg::OnToClipboard() {
    const std::string text = result.GetText();
    if (text.size() != 8) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 9);
    if (!block) return;
    char* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return;
    }
    std::memcpy(bytes, text.data(), 8); // the ninth byte stays 0
    GlobalUnlock(block);
    if (!OpenClipboard(hwnd)) {
        GlobalFree(block);
        return;
    }
    // From SetClipboardData on, the block belongs to the clipboard.
    if (!EmptyClipboard() || !SetClipboardData(CF_TEXT, block)) GlobalFree(block);
    CloseClipboard();
}

bool CRechnerDlg::ReadClipboardText(std::string& text) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(hwnd)) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const SIZE_T size = GlobalSize(data);
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            // Up to the first NUL, but never past the end of the block.
            text.assign(bytes, strnlen(bytes, size));
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

void CRechnerDlg::ShowStatus(const std::string& text) {
    SetItemText(IDC_STATUS, text);
}
