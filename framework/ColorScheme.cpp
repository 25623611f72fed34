// CColorScheme: light (the system's) or dark colours for a dialog.
#include "ColorScheme.h"

#include "SystemLibrary.h"

#include <cwchar>

namespace {
// Light text on near black; fields a shade lighter than the window, framed. Every text is at
// least 4.5:1 against its background, the frames and the focus mark at least 3:1.
const COLORREF darkWindow = RGB(32, 32, 32);
const COLORREF darkText = RGB(240, 240, 240);
const COLORREF darkField = RGB(45, 45, 45);
const COLORREF darkFrame = RGB(150, 150, 150);
const COLORREF darkFace = RGB(60, 60, 60);
const COLORREF darkFaceHot = RGB(75, 75, 75);
const COLORREF darkFacePressed = RGB(90, 90, 90);
const COLORREF darkGreyText = RGB(160, 160, 160); // of a disabled button, on the field colour

// The place of the dialog's own subclass on its children's chains.
const UINT_PTR childSubclass = 0x4F72;

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[16];
    return GetClassNameW(window, className, 16) && _wcsicmp(className, name) == 0;
}

bool IsPushButton(HWND window) {
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return IsClass(window, L"Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A frame `width` pixels wide just inside `rect`.
void Frame(HDC dc, const RECT& rect, int width, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    RECT edge = rect;
    for (int i = 0; i < width; ++i, InflateRect(&edge, -1, -1)) FrameRect(dc, &edge, brush);
}

// The caption bar dark or light, where the desktop window manager draws it (Windows 10 1809
// on); older systems and Wine do without.
void SetDarkCaption(HWND window, BOOL on) {
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    const auto setAttribute =
        framework::Find<SetAttribute>(SystemLibrary(L"dwmapi.dll"), "DwmSetWindowAttribute");
    if (!setAttribute) return;
    // DWMWA_USE_IMMERSIVE_DARK_MODE is 20 from Windows 10 20H1 on, 19 before.
    if (FAILED(setAttribute(window, 20, &on, sizeof on))) setAttribute(window, 19, &on, sizeof on);
}

// The visual style of `window` off (empty names) or back to the default (null names).
void SetVisualStyle(HWND window, bool on) {
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const auto setTheme =
        framework::Find<SetTheme>(SystemLibrary(L"uxtheme.dll"), "SetWindowTheme");
    if (setTheme) setTheme(window, on ? nullptr : L"", on ? nullptr : L"");
}
} // namespace

bool AppsUseDarkMode() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON))
        return false;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    // Only a DWORD 0 is dark: another type or size, or no value, is the light default.
    DWORD type = 0, value = 1, size = sizeof value;
    const LONG status = RegQueryValueExW(key, L"AppsUseLightTheme", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value && value == 0;
}

bool CColorScheme::Follow() {
    const bool wanted = AppsUseDarkMode();
    if (wanted == dark) return false;
    dark = wanted;
    background.Reset(dark ? CreateSolidBrush(darkWindow) : nullptr);
    field.Reset(dark ? CreateSolidBrush(darkField) : nullptr);
    return true;
}

void CColorScheme::Apply(HWND dialog, HWND toolTips) {
    if (dark || darkCaption) SetDarkCaption(dialog, dark);
    darkCaption = dark;
    ColorToolTips(toolTips);
    if (dark)
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SetWindowSubclass(child, ChildProc, childSubclass, reinterpret_cast<DWORD_PTR>(this));
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CColorScheme::ColorToolTips(HWND toolTips) {
    if (!toolTips || (!dark && !plainToolTips)) return;
    // A tooltip in the visual style keeps the style's colours: dark ones need it plain.
    SetVisualStyle(toolTips, !dark);
    plainToolTips = dark;
    SendMessageW(toolTips, TTM_SETTIPBKCOLOR, dark ? darkField : GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(toolTips, TTM_SETTIPTEXTCOLOR, dark ? darkText : GetSysColor(COLOR_INFOTEXT), 0);
    RedrawWindow(toolTips, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); // one shown now
}

HBRUSH CColorScheme::ControlColors(HDC dc, HWND control) const {
    if (!dark) return nullptr;
    const bool isField = IsClass(control, L"Edit");
    const HBRUSH brush = isField ? field : background;
    if (!brush) return nullptr;
    SetTextColor(dc, darkText);
    SetBkColor(dc, isField ? darkField : darkWindow);
    return brush;
}

bool CColorScheme::DrawButton(const NMCUSTOMDRAW& draw, LRESULT& result) const {
    const HWND button = draw.hdr.hwndFrom;
    if (!dark || draw.dwDrawStage != CDDS_PREPAINT || !IsPushButton(button)) return false;
    const HDC dc = draw.hdc;
    const UINT state = draw.uItemState;
    const bool disabled = state & CDIS_DISABLED, pressed = state & CDIS_SELECTED;
    const bool isDefault = (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const LRESULT hidden = SendMessageW(button, WM_QUERYUISTATE, 0, 0);

    // The default button has a frame in the text colour, twice as wide.
    const int frameWidth = isDefault && !disabled ? 2 : 1;
    Frame(dc, draw.rc, frameWidth, frameWidth == 2 ? darkText : darkFrame);
    RECT face = draw.rc;
    InflateRect(&face, -frameWidth, -frameWidth);
    Fill(dc, face,
         disabled             ? darkField
         : pressed            ? darkFacePressed
         : (state & CDIS_HOT) ? darkFaceHot
                              : darkFace);

    wchar_t label[64] = L"";
    GetWindowTextW(button, label, 64);
    RECT text = draw.rc;
    if (pressed) OffsetRect(&text, 1, 1);
    const HGDIOBJ font =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? darkGreyText : darkText);
    // The mnemonic's underline shows as the system shows it: with keyboard use.
    DrawTextW(dc, label, -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE |
                  (hidden & UISF_HIDEACCEL ? DT_HIDEPREFIX : 0));
    SelectObject(dc, font);
    if ((state & CDIS_FOCUS) && !(hidden & UISF_HIDEFOCUS)) {
        RECT focus = draw.rc;
        InflateRect(&focus, -3, -3);
        Frame(dc, focus, 1, darkText);
    }
    result = CDRF_SKIPDEFAULT;
    return true;
}

bool CColorScheme::PaintFrame(HWND edit) const {
    if (!dark) return false;
    const WindowDC dc(edit);
    if (!dc) return false;
    RECT window, client;
    GetWindowRect(edit, &window);
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    // Only the frame: the client area paints itself.
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    Fill(dc, window, darkField);
    Frame(dc, window, 1, darkFrame);
    return true;
}

LRESULT CALLBACK CColorScheme::ChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
    const CColorScheme* scheme = reinterpret_cast<const CColorScheme*>(data);
    switch (msg) {
    case WM_NCPAINT:
        if (IsClass(window, L"Edit") && scheme->PaintFrame(window)) return 0;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (scheme->dark) return SendMessageW(GetParent(window), msg, wParam, lParam);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, ChildProc, childSubclass);
        break;
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}
