// The calculator window's extras: system menu, always on top, info box, tooltips, icons.
#include "Harness.h"

#include "dialogs/InfoDlg.h"
#include "dialogs/RechnerDlg.h"
#include "framework/Accessible.h"
#include "framework/App.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The calculator as the application's main window, as in the program.
struct WindowExtras : testing::Test {
    CRechnerDlg dialog;

    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        CApp::Current()->mainWindow = &dialog;
        Pump();
    }
    void TearDown() override { CApp::Current()->mainWindow = nullptr; }

    bool Topmost() const { return GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }
    bool Checked() const {
        return GetMenuState(GetSystemMenu(dialog.hwnd, FALSE), IDM_VORDERGRUND, MF_BYCOMMAND) &
               MF_CHECKED;
    }
    RECT Rect() const {
        RECT rect;
        GetWindowRect(dialog.hwnd, &rect);
        return rect;
    }
};

TEST_F(WindowExtras, SystemMenuEndsWithTheProgramsEntries) {
    HMENU menu = GetSystemMenu(dialog.hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 4);
    const struct {
        UINT id;
        const wchar_t* text;
    } tail[] = {{0, nullptr},
                {IDM_VORDERGRUND, L"Vor&dergrund"},
                {0, nullptr},
                {IDM_ABOUTBOX, L"Inf&o \u00FCber Orvand..."}};
    for (int i = 0; i < 4; ++i) {
        const int position = count - 4 + i;
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoW(menu, UINT(position), TRUE, &item));
        if (!tail[i].text) {
            EXPECT_TRUE(item.fType & MFT_SEPARATOR) << position;
            continue;
        }
        EXPECT_EQ(item.wID, tail[i].id);
        wchar_t text[64] = {};
        GetMenuStringW(menu, UINT(position), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, tail[i].text);
    }
    EXPECT_FALSE(Checked());
}

TEST_F(WindowExtras, VordergrundTogglesTopmostAndCheckMark) {
    const RECT before = Rect();
    for (UINT message : {UINT(WM_SYSCOMMAND), UINT(WM_COMMAND)}) {
        SendMessageW(dialog.hwnd, message, IDM_VORDERGRUND, 0);
        EXPECT_TRUE(Topmost());
        EXPECT_TRUE(Checked());
        EXPECT_TRUE(dialog.foreground);
        RECT now = Rect();
        EXPECT_TRUE(EqualRect(&now, &before));
        SendMessageW(dialog.hwnd, message, IDM_VORDERGRUND, 0);
        EXPECT_FALSE(Topmost());
        EXPECT_FALSE(Checked());
        now = Rect();
        EXPECT_TRUE(EqualRect(&now, &before));
    }
}

// What the timer saw while the info box was open.
struct Seen {
    int boxes = 0;
    bool ownerDisabled = false;
    bool infoOpen = false;
    bool closeWithOk = false;
    bool keysToOwner = false;
    std::string first; // the calculator's first field
    int ticks = 0;
} seen;
CRechnerDlg* running = nullptr;

BOOL CALLBACK CountInfoBoxes(HWND window, LPARAM count) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (IsWindowVisible(window) && wcsncmp(caption, L"Info \u00FCber ", 10) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK TakeInfoBox(HWND window, LPARAM out) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (wcsncmp(caption, L"Info \u00FCber ", 10) != 0) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

HWND FindInfoBox() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeInfoBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs inside the info box's modal loop: asks for the box again (system menu, F1) or
// posts keys to the disabled calculator's first field, then closes the box with Escape or OK.
void CALLBACK WhileInfoBoxIsOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindInfoBox();
    if (!box) return;
    switch (++seen.ticks) {
    case 1:
        if (seen.keysToOwner) {
            Press(running->first.hwnd, VK_TAB);
            Press(running->first.hwnd, '1');
            break;
        }
        SendMessageW(running->hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); // must not open a second
        PostMessageW(box, WM_KEYDOWN, VK_F1, 0);                     // help key inside the box
        break;
    case 2:
        EnumThreadWindows(GetCurrentThreadId(), CountInfoBoxes, LPARAM(&seen.boxes));
        seen.ownerDisabled = !IsWindowEnabled(running->hwnd);
        seen.infoOpen = running->infoOpen;
        seen.first = running->first.GetText();
        if (seen.closeWithOk)
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        KillTimer(nullptr, timer);
        break;
    }
}

TEST_F(WindowExtras, InfoBoxFromTheSystemMenuOpensOnce) {
    seen = Seen();
    running = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, WhileInfoBoxIsOpen);
    SendMessageW(dialog.hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); // returns when the box closed
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.boxes, 1);
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_TRUE(seen.infoOpen);
    EXPECT_FALSE(dialog.infoOpen);
    EXPECT_TRUE(IsWindowEnabled(dialog.hwnd));
    EXPECT_EQ(FindInfoBox(), nullptr);
    EXPECT_FALSE(dialog.Ended());
}

TEST_F(WindowExtras, HelpKeyOpensTheInfoBox) {
    seen = Seen();
    seen.closeWithOk = true;
    running = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, WhileInfoBoxIsOpen);
    Press(dialog.first.hwnd, VK_F1); // routed: F1 becomes the help command
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.boxes, 1);
    EXPECT_TRUE(seen.infoOpen);
    EXPECT_FALSE(dialog.infoOpen);
    EXPECT_FALSE(dialog.Ended());
}

TEST_F(WindowExtras, KeysForTheCalculatorWhileTheInfoBoxIsOpenLeaveItsFieldAlone) {
    Type(dialog.first.hwnd, "093000"); // the caret stands at the end: no slot left for a digit
    seen = Seen();
    seen.keysToOwner = true;
    running = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, WhileInfoBoxIsOpen);
    SendMessageW(dialog.hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.first, "09:30:00");
    EXPECT_EQ(dialog.first.GetZeit().Format("%H%M%S"), "093000");
}

TEST_F(WindowExtras, StandardSystemCommandsStillWork) {
    SendMessageW(dialog.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(dialog.hwnd));
    RedrawWindow(dialog.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SendMessageW(dialog.hwnd, WM_PAINT, 0, 0); // painting while minimized
    EXPECT_TRUE(IsWindow(dialog.hwnd));
    EXPECT_EQ(HICON(SendMessageW(dialog.hwnd, WM_QUERYDRAGICON, 0, 0)), dialog.icon);

    SendMessageW(dialog.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsIconic(dialog.hwnd));
    SendMessageW(dialog.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(dialog.Ended());
}

// An icon's colour bitmap (under Wine 32 bits a pixel for every icon, whatever its image).
std::vector<DWORD> IconPixels(HICON icon) {
    ICONINFO info = {};
    BITMAP image = {};
    if (!GetIconInfo(icon, &info)) return {};
    GetObjectW(info.hbmColor, sizeof image, &image);
    std::vector<DWORD> pixels(size_t(image.bmWidth) * size_t(image.bmHeight));
    GetBitmapBits(info.hbmColor, LONG(pixels.size() * 4), pixels.data());
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

// The program icon's own full-colour image of `size` pixels, made into an icon unscaled.
std::vector<DWORD> OwnImage(int size) {
    std::vector<DWORD> pixels;
    for (IconImage& image : ProgramIcon()) {
        if (image.size != size || image.bits != 32) continue;
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image.bytes[0]),
                                              DWORD(image.bytes.size()), TRUE, 0x00030000, size,
                                              size, LR_DEFAULTCOLOR);
        pixels = IconPixels(icon);
        DestroyIcon(icon);
    }
    return pixels;
}

// The icons are the program icon's own images of the system's sizes for the screen's DPI,
// not others scaled; on a screen of another DPI, that screen's, in the window and in the info
// box. A DPI that no screen has (any program can post one) changes nothing.
TEST_F(WindowExtras, WindowIconsAreTheProgramIcon) {
    const char* other = std::getenv("ORVAND_EXPECT_DPI"); // set where the prefix has another
    const int dpi = other ? std::atoi(other) : 96;
    ASSERT_EQ(GetSystemMetrics(SM_CXICON), MulDiv(32, dpi, 96)) << "LogPixels did not take effect";
    EXPECT_EQ(HICON(SendMessageW(dialog.hwnd, WM_GETICON, ICON_BIG, 0)), dialog.icon);
    CInfoDlg info;
    ASSERT_TRUE(info.Create(dialog.hwnd));
    RECT rect = Rect();
    const UINT dpiChanged = 0x02E0; // WM_DPICHANGED, from Windows 8.1 on
    // This screen's, 125 %, 175 %, 200 %, 225 %, 250 %, 300 %, then none a screen can have.
    int screen = dpi;
    for (int now : {dpi, 120, 168, 192, 216, 240, 288, 5500, 0xFFFF, 0}) {
        screen = now >= 96 && now <= 480 ? now : screen;
        for (HWND window : {dialog.hwnd, info.hwnd})
            SendMessageW(window, dpiChanged, MAKEWPARAM(now, now), LPARAM(&rect));
        for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
            const int size = MulDiv(which == ICON_BIG ? 32 : 16, screen, 96);
            const std::vector<DWORD> own = OwnImage(size);
            const HICON icon = HICON(SendMessageW(dialog.hwnd, WM_GETICON, which, 0));
            EXPECT_TRUE(!own.empty() && IconPixels(icon) == own)
                << size << " px, " << now << " DPI";
        }
        const HICON boxIcon = HICON(SendMessageW(info.Item(IDC_INFOICON), STM_GETICON, 0, 0));
        EXPECT_TRUE(IconPixels(boxIcon) == OwnImage(MulDiv(32, screen, 96)))
            << "info box, " << now << " DPI";
    }
}

// A named field on a thread of its own that never switched COM on; runs until WM_QUIT.
DWORD WINAPI RunFieldWithoutCom(void* field) {
    HWND window =
        CreateWindowW(L"Edit", L"", WS_POPUP, 0, 0, 60, 20, nullptr, nullptr, nullptr, nullptr);
    SetAccessibleTexts(window, "Erster Zeitwert", "");
    InterlockedExchangePointer(static_cast<void**>(field), window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
    return 0;
}

TEST_F(WindowExtras, NamesReachClientsFromAThreadWithoutCom) {
    void* field = nullptr;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunFieldWithoutCom, &field, 0, &id);
    ASSERT_NE(thread, nullptr);
    for (int i = 0; i < 500 && !InterlockedCompareExchangePointer(&field, nullptr, nullptr); ++i)
        Sleep(10);
    AccessibleView view;
    EXPECT_TRUE(ReadAccessible(static_cast<HWND>(field), view));
    EXPECT_EQ(view.name, L"Erster Zeitwert");
    PostThreadMessageW(id, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST_F(WindowExtras, AHeldObjectAnswersAsTheSystemsOnceItsFieldIsGone) {
    HWND field =
        CreateWindowW(L"Edit", L"", WS_POPUP, 0, 0, 60, 20, nullptr, nullptr, nullptr, nullptr);
    SetAccessibleTexts(field, "Erster Zeitwert", "Beschreibung");
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccessible *held = nullptr, *standard = nullptr;
    const IID iid = __uuidof(IAccessible);
    ASSERT_HRESULT_SUCCEEDED(
        AccessibleObjectFromWindow(field, OBJID_CLIENT, iid, reinterpret_cast<void**>(&held)));
    ASSERT_HRESULT_SUCCEEDED(
        CreateStdAccessibleObject(field, OBJID_CLIENT, iid, reinterpret_cast<void**>(&standard)));
    DestroyWindow(field);
    VARIANT self = {};
    self.vt = VT_I4; // CHILDID_SELF
    for (auto query : {&IAccessible::get_accName, &IAccessible::get_accDescription}) {
        BSTR mine = nullptr, system = nullptr;
        EXPECT_EQ((held->*query)(self, &mine), (standard->*query)(self, &system));
        EXPECT_EQ(std::wstring(mine ? mine : L""), std::wstring(system ? system : L""));
        SysFreeString(mine);
        SysFreeString(system);
    }
    held->Release();
    standard->Release();
    CoUninitialize();
}

// Asks the dialog for a tooltip text the way the tooltip control does.
std::string AskForTip(HWND dialog, HWND control, UINT flags) {
    NMTTDISPINFOA info = {};
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(control);
    info.hdr.code = TTN_NEEDTEXTA;
    info.uFlags = flags;
    SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    if (!info.lpszText) return "<no answer>";
    EXPECT_TRUE(IS_INTRESOURCE(info.lpszText));
    EXPECT_EQ(info.hinst, CApp::Current()->instance);
    return CApp::Current()->LoadText(UINT(reinterpret_cast<UINT_PTR>(info.lpszText)));
}

TEST_F(WindowExtras, ToolTipTexts) {
    const struct {
        int id;
        const char* tip;
    } tips[] = {
        {IDOK, "Beenden des Programmes"},
        {IDC_ZEIT1, "Erster Zeitwert"},
        {IDC_ZEIT2, "Zweiter Zeitwert"},
        {IDC_DIFFERENZ, "Berechnung der Zeitdifferenz"},
        {IDC_ERGEBNIS, "Zeitdifferenz"},
        {IDC_HOLEN1, "Aus Zwischenablage"},
        {IDC_HOLEN2, "Aus Zwischenablage"},
        {IDC_ABLEGEN, "In Zwischenablage"},
        {IDC_STATUS, ""}, // no string: no tip
    };
    for (const auto& t : tips)
        EXPECT_EQ(AskForTip(dialog.hwnd, dialog.Item(t.id), TTF_IDISHWND), t.tip) << t.id;
    EXPECT_EQ(AskForTip(dialog.hwnd, dialog.Item(IDC_ZEIT1), 0), "<no answer>");
}

BOOL CALLBACK TakeVisibleTip(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (IsWindowVisible(window) && wcscmp(name, TOOLTIPS_CLASSW) == 0)
        *reinterpret_cast<HWND*>(out) = window;
    return TRUE;
}

// The text of this thread's visible tooltip, or "".
std::wstring ShownTip() {
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleTip, reinterpret_cast<LPARAM>(&tip));
    return tip ? WideText(tip) : L"";
}

// A window made by Create goes with its object, and so do its tooltips and icons.
TEST_F(WindowExtras, ToolTipsAndIconsGoWithTheirDialog) {
    const int before = ThreadWindows(TOOLTIPS_CLASSW);
    int during = 0;
    HICON icons[2] = {};
    {
        CRechnerDlg other;
        ASSERT_TRUE(other.Create(nullptr));
        during = ThreadWindows(TOOLTIPS_CLASSW);
        icons[0] = HICON(SendMessageW(other.hwnd, WM_GETICON, ICON_BIG, 0));
        icons[1] = HICON(SendMessageW(other.hwnd, WM_GETICON, ICON_SMALL, 0));
    }
    EXPECT_EQ(during, before + 1);
    EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), before);
    for (HICON icon : icons) {
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(icon, &info)) << "an icon outlived its window";
    }
}

TEST_F(WindowExtras, HoveringShowsTheTip) {
    ShowWindow(dialog.hwnd, SW_SHOW);
    SetForegroundWindow(dialog.hwnd);
    RECT rect;
    GetWindowRect(dialog.Item(IDC_DIFFERENZ), &rect);
    SetCursorPos(rect.left + 5, rect.top + 5);
    Pump();
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    std::wstring tip;
    for (int i = 0; i < 300 && tip.empty(); ++i) {
        Pump();
        Sleep(10);
        tip = ShownTip();
    }
    EXPECT_EQ(tip, L"Berechnung der Zeitdifferenz");
}

} // namespace

namespace {
// Windows' app mode as the user's settings hold it, told to every window as Windows tells it.
void SetAppMode(DWORD light) {
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<BYTE*>(&light), 4);
    RegCloseKey(key);
    DWORD_PTR answer;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, LPARAM(L"ImmersiveColorSet"),
                        SMTO_NORMAL, 1000, &answer);
}
// A window as it shows, and a control's background in it (its bottom right, 5 pixels in).
struct Picture {
    explicit Picture(HWND window) : pixels(Capture(window, true)) { GetWindowRect(window, &frame); }
    DWORD At(int x, int y) const {
        return pixels[(y - frame.top) * (frame.right - frame.left) + x - frame.left] & 0xFFFFFF;
    }
    DWORD At(HWND control) const {
        RECT r;
        GetWindowRect(control, &r);
        return At(int(r.right) - 5, int(r.bottom) - 5);
    }
    std::vector<DWORD> pixels;
    RECT frame;
};
} // namespace

// Both windows follow each switch at once; the calculator keeps its selection, and light again it
// shows what it showed before the switch.
TEST_F(WindowExtras, FollowsTheAppModeAtOnce) {
    SetCursorPos(1000, 740); // no tooltip in the pictures
    SetFocus(dialog.second.hwnd);
    Type(dialog.second.hwnd, "123456");
    SetFocus(dialog.first.hwnd);
    dialog.first.Send(EM_SETSEL, 0, 8);
    HideCaret(dialog.first.hwnd); // nor a blinking caret
    dialog.status.Show("\"1&2\" ist ung\xFCltig");
    SetAppMode(1);
    const Picture light(dialog.hwnd);
    for (DWORD dark : {1, 0, 1}) {
        SetAppMode(!dark);
        const Picture shown(dialog.hwnd);
        EXPECT_EQ(shown.pixels == light.pixels, !dark);
        for (const auto& [id, colour] :
             {std::pair{IDC_STATUS, 0x202020}, {IDC_ERGEBNIS, 0x2D2D2D}, {IDOK, 0x3C3C3C}})
            EXPECT_EQ(shown.At(dialog.Item(id)), dark ? colour : light.At(dialog.Item(id))) << id;
        EXPECT_EQ(SelEnd(dialog.first.hwnd) - SelStart(dialog.first.hwnd), 8u);
    }
    CInfoDlg info; // opened dark, the box follows to light
    ASSERT_TRUE(info.Create(dialog.hwnd));
    ShowWindow(info.hwnd, SW_SHOW);
    for (DWORD dark : {1, 0}) {
        SetAppMode(!dark);
        const Picture box(info.hwnd);
        EXPECT_EQ(box.At(info.Item(IDC_ANIMATION)),
                  dark ? 0x202020 : light.At(dialog.Item(IDC_STATUS)));
    }
}
