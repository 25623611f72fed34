// CRechnerDlg: the calculator window.
#include "RechnerDlg.h"

#include "InfoDlg.h"

#include "../framework/Accessible.h"
#include "../framework/App.h"
#include "../framework/Handles.h"
#include "../framework/Text.h"
#include "../resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

const MessageEntry<CRechnerDlg> CRechnerDlg::messageTable[] = {
    Command(IDC_DIFFERENZ, &CRechnerDlg::OnCalculate),
    Command(IDC_HOLEN1, &CRechnerDlg::OnFromClipboard1),
    Command(IDC_HOLEN2, &CRechnerDlg::OnFromClipboard2),
    Command(IDC_ABLEGEN, &CRechnerDlg::OnToClipboard),
    Command(IDM_VORDERGRUND, &CRechnerDlg::SetForeground),
    Message(WM_SYSCOMMAND, &CRechnerDlg::OnSysCommand),
    Message(WM_PAINT, &CRechnerDlg::OnPaint),
    Message(WM_QUERYDRAGICON, &CRechnerDlg::OnQueryDragIcon),
    Notify(TTN_NEEDTEXTA, &CRechnerDlg::AnswerToolTip),
    Notify(TTN_NEEDTEXTW, &CRechnerDlg::AnswerToolTip),
    TableEnd<CRechnerDlg>(),
};

CRechnerDlg::CRechnerDlg() : CDialog(IDD_RECHNER) {}

CRechnerDlg::~CRechnerDlg() {
    if (hwnd) DestroyWindow(hwnd);
}

bool CRechnerDlg::OnInitDialog() {
    NameControls();
    // Screen readers read each new difference, and a complaint in the status line at once.
    SetLiveRegion(Item(IDC_ERGEBNIS), LiveSetting::polite);
    SetLiveRegion(Item(IDC_STATUS), LiveSetting::assertive);
    CDialog::OnInitDialog();

    if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
        const CApp* app = CApp::Current();
        const std::string about = app ? app->LoadText(IDS_ABOUTBOX) : std::string();
        if (!about.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_VORDERGRUND, L"Vor&dergrund");
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, Widen(about).c_str());
        }
    }
    SetIcons(Dpi());
    EnableToolTips();
    return true; // the dialog manager focuses the first time field
}

void CRechnerDlg::NameControls() {
    const CApp* app = CApp::Current();
    if (!app) return;
    // The fields are named by their tip, the small buttons by their tip and their field.
    const struct {
        int control, field;
    } named[] = {{IDC_ZEIT1, 0},          {IDC_ZEIT2, 0},          {IDC_ERGEBNIS, 0},
                 {IDC_HOLEN1, IDC_ZEIT1}, {IDC_HOLEN2, IDC_ZEIT2}, {IDC_ABLEGEN, IDC_ERGEBNIS}};
    for (const auto& n : named) {
        std::string name = app->LoadText(n.control);
        if (n.field) name += ": " + app->LoadText(n.field);
        SetAccessibleTexts(Item(n.control), name, "");
    }
    // The two big buttons keep their text as name and tell their tip as description.
    for (int id : {IDC_DIFFERENZ, IDOK}) SetAccessibleTexts(Item(id), "", app->LoadText(id));
}

void CRechnerDlg::DoDataExchange() {
    Bind(IDC_ERGEBNIS, result);
    Bind(IDC_ZEIT2, second);
    Bind(IDC_ZEIT1, first);
    Bind(IDC_STATUS, status);
}

void CRechnerDlg::OnCalculate() {
    const ZeitSpanne span = first.GetZeit() - second.GetZeit();
    ZeitWert difference;
    difference = span.days; // an invalid span has no day count: the result shows the empty mask
    if (difference.days < 0.0) difference = -span.days;
    result.SetZeit(difference, "");
    AnnounceChange(result.hwnd); // also a difference as before: the user asked for it
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
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 9));
    {
        const GlobalLocked bytes(block);
        if (!bytes.Bytes()) return;
        std::memcpy(bytes.Bytes(), text.data(), 8); // the ninth byte stays 0
    }
    const ClipboardOpen clipboard(hwnd);
    // From SetClipboardData on, the block belongs to the clipboard.
    if (clipboard && EmptyClipboard() && SetClipboardData(CF_TEXT, block)) block.HandOver();
}

bool CRechnerDlg::ReadClipboardText(std::string& text) {
    const ClipboardOpen clipboard(hwnd);
    if (!clipboard) return false;
    // The first text format in the clipboard's order is the one its owner put there. The
    // system makes the other one from it, all of it at once, when a program asks for that.
    UINT format = 0;
    for (UINT next = EnumClipboardFormats(0); next && !format; next = EnumClipboardFormats(next))
        if (next == CF_TEXT || next == CF_UNICODETEXT) format = next;
    const HANDLE data = format ? GetClipboardData(format) : nullptr;
    const GlobalLocked block(data);
    if (!block.Bytes()) return false;
    // Up to the first NUL, never past the end of the block, and no further than the field
    // needs to judge the text: the rest changes nothing. CF_TEXT is in the system's code page,
    // not in the program's, and takes up to four bytes for what UTF-16 says in two units.
    const SIZE_T size = GlobalSize(data);
    const size_t most = CZeitEdit::unitsToJudge * (format == CF_UNICODETEXT ? 1 : 2);
    size_t length = 0;
    std::wstring wide;
    if (format == CF_UNICODETEXT) {
        const auto* chars = static_cast<const wchar_t*>(block.Bytes());
        length = wcsnlen(chars, std::min<size_t>(size / sizeof(wchar_t), most));
        wide.assign(chars, length);
    } else {
        const auto* bytes = static_cast<const char*>(block.Bytes());
        length = strnlen(bytes, std::min<size_t>(size, most));
        wide = WidenAnsi(bytes, int(length));
    }
    text = CZeitEdit::FieldText(wide.data(), wide.size(), length == most);
    return true;
}

void CRechnerDlg::ShowStatus(const std::string& text) {
    status.Show(text);
}

void CRechnerDlg::ShowInfo() {
    if (infoOpen) return; // the help key also works inside the box
    infoOpen = true;
    CInfoDlg info;
    info.DoModal();
    infoOpen = false;
}

void CRechnerDlg::SetForeground() {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    foreground = !foreground;
    SetWindowPos(hwnd, foreground ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top,
                 rect.right - rect.left, rect.bottom - rect.top, 0);
    if (HMENU menu = GetSystemMenu(hwnd, FALSE))
        CheckMenuItem(menu, IDM_VORDERGRUND,
                      MF_BYCOMMAND | (foreground ? MF_CHECKED : MF_UNCHECKED));
}

bool CRechnerDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == ID_HELP_COMMAND) {
        ShowInfo();
        return true;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CRechnerDlg::OnSysCommand(WPARAM id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) ShowInfo();
    if (id == IDM_VORDERGRUND) {
        SetForeground();
        return 0;
    }
    LeaveToDefault(); // move, minimize, close ... and the info entry once the box closed
    return 0;
}

LRESULT CRechnerDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(hwnd)) {
        LeaveToDefault();
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    const int iconWidth = SystemMetricForDpi(SM_CXICON, iconDpi);
    const int iconHeight = SystemMetricForDpi(SM_CYICON, iconDpi);
    RECT client;
    GetClientRect(hwnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIconEx(dc, x, y, icon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
    EndPaint(hwnd, &paint);
    return 0;
}

LRESULT CRechnerDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(HICON(icon));
}

void CRechnerDlg::SetIcons(UINT dpi) {
    // The window lets go of the old icons before they are destroyed.
    HICON big = LoadIconForDpi(ResourceModule(), IDR_MAINFRAME, false, dpi);
    HICON small = LoadIconForDpi(ResourceModule(), IDR_MAINFRAME, true, dpi);
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
    icon.Reset(big);
    smallIcon.Reset(small);
    iconDpi = dpi;
}

bool CRechnerDlg::AnswerToolTip(NMHDR* notification, LRESULT&) {
    const HINSTANCE module = ResourceModule();
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(notification->idFrom));
    // The ANSI and the Unicode request differ in the size of their text buffer only.
    if (notification->code == TTN_NEEDTEXTA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(notification);
        if (!(info->uFlags & TTF_IDISHWND) || id == 0) return false;
        info->lpszText = MAKEINTRESOURCEA(id);
        info->hinst = module;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(notification);
        if (!(info->uFlags & TTF_IDISHWND) || id == 0) return false;
        info->lpszText = MAKEINTRESOURCEW(id);
        info->hinst = module;
    }
    return true;
}
