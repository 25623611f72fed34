// CDialog: template-based dialogs with a pre-translating modal loop.
#include "Dialog.h"

#include "App.h"
#include "Icon.h"
#include "Text.h"

#include <commctrl.h>

const MessageEntry<CDialog> CDialog::messageTable[] = {
    Command(IDOK, &CDialog::OnOK),
    Command(IDCANCEL, &CDialog::OnCancel),
    Message(WM_DPICHANGED, &CDialog::OnDpiMessage),
    Message(WM_CTLCOLORDLG, &CDialog::OnControlColor),
    Message(WM_CTLCOLORSTATIC, &CDialog::OnControlColor),
    Message(WM_CTLCOLOREDIT, &CDialog::OnControlColor),
    Message(WM_CTLCOLORBTN, &CDialog::OnControlColor),
    Notify(NM_CUSTOMDRAW, &CDialog::OnCustomDraw),
    Message(WM_SETTINGCHANGE, &CDialog::OnSettingChange),
    Message(WM_SYSCOLORCHANGE, &CDialog::OnSystemColors),
    Message(WM_THEMECHANGED, &CDialog::OnSystemColors),
    TableEnd<CDialog>(),
};

CDialog::CDialog(UINT id, HWND owner) : templateId(id), parent(owner) {}

CDialog::~CDialog() {
    if (hwnd) DestroyWindow(hwnd);
}

INT_PTR CDialog::DoModal() {
    HWND owner = parent;
    CApp* app = CApp::Current();
    if (!owner && app && app->mainWindow && app->mainWindow != this) owner = app->mainWindow->hwnd;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);

    if (Create(owner)) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        while (!ended && hwnd) { // hwnd is gone when something destroyed the dialog
            MSG msg;
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == -1) break; // no message to be had: the dialog ends with -1
            if (got == 0) {
                PostQuitMessage(int(msg.wParam)); // leave the quit for the outer loop
                break;
            }
            RouteMessage(msg);
        }
    }

    // Re-enable the owner before the dialog goes, so that the owner is activated again.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (hwnd) {
        if (owner && GetActiveWindow() == hwnd) SetActiveWindow(owner);
        DestroyWindow(hwnd);
    }
    return modalResult;
}

bool CDialog::Create(HWND owner) {
    ended = false;
    modalResult = -1;
    return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result) {
    modalResult = result;
    ended = true;
    // Called from a sent message, the loop would sleep on until some message is posted.
    if (hwnd) PostMessageW(hwnd, WM_NULL, 0, 0);
}

bool CDialog::PreTranslateMessage(MSG& msg) {
    // A disabled dialog, the owner of a modal box, takes no keys, even those posted to it.
    return IsWindowEnabled(hwnd) && IsDialogMessageW(hwnd, &msg);
}

std::string CDialog::GetItemText(int id) const {
    return ReadWindowText(Item(id));
}

void CDialog::SetItemText(int id, const std::string& text) {
    WriteWindowText(Item(id), text);
}

bool CDialog::OnInitDialog() {
    DoDataExchange();
    // Light, the system draws everything as it always did; dark, the dialog takes its colours
    // before it is first shown.
    if (colors.Follow()) colors.Apply(hwnd, toolTips);
    return true;
}

bool CDialog::Bind(int id, CWindow& control) {
    return control.Subclass(Item(id));
}

void CDialog::EnableToolTips() {
    // Not owned by the dialog: Wine leaves a window that owns a topmost popup out of
    // "always on top" when nothing else lies between them. The dialog destroys it instead.
    toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, ResourceModule(), nullptr);
    if (!toolTips) return;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE; // the size every comctl32 version accepts
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    colors.ColorToolTips(toolTips);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        CDialog* self = reinterpret_cast<CDialog*>(lParam);
        self->Attach(window);
        return self->OnInitDialog();
    }
    CDialog* self = static_cast<CDialog*>(FromHandle(window));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return FALSE;
    }
    LRESULT result = 0;
    const bool handled = self->Dispatch(msg, wParam, lParam, result);
    // The tooltips go with the dialog, whatever the tables did with WM_DESTROY.
    if (msg == WM_DESTROY && self->toolTips) {
        DestroyWindow(self->toolTips);
        self->toolTips = nullptr;
    }
    if (!handled) return FALSE;
    switch (msg) { // these return their value directly instead of through DWLP_MSGRESULT
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

LRESULT CDialog::OnDpiMessage(WPARAM wParam, LPARAM) {
    const UINT dpi = DpiOfChange(wParam);
    if (!dpi) return 0; // not from the system: the dialog stays as it is
    OnDpiChanged(dpi);
    LeaveToDefault(); // the system scales and places the dialog
    return 0;
}

LRESULT CDialog::OnControlColor(WPARAM dc, LPARAM control) {
    if (HBRUSH brush =
            colors.ControlColors(reinterpret_cast<HDC>(dc), reinterpret_cast<HWND>(control)))
        return reinterpret_cast<LRESULT>(brush);
    LeaveToDefault();
    return 0;
}

bool CDialog::OnCustomDraw(NMHDR* header, LRESULT& result) {
    return colors.DrawButton(*reinterpret_cast<NMCUSTOMDRAW*>(header), result);
}

LRESULT CDialog::OnSettingChange(WPARAM, LPARAM) {
    // Windows names a switch of the app mode "ImmersiveColorSet", but whatever the text (or
    // none, or one from another program), the registry says what holds now: reading it costs
    // less than trusting the message.
    if (colors.Follow()) colors.Apply(hwnd, toolTips);
    LeaveToDefault();
    return 0;
}

LRESULT CDialog::OnSystemColors(WPARAM, LPARAM) {
    colors.Follow();
    colors.Apply(hwnd, toolTips);
    LeaveToDefault();
    return 0;
}
