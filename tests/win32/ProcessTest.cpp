// The built program as its own process: start-up state, the three ways to end it and what
// an assistive client in another process reads.
#include "Harness.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Orvand.exe, started beside the test program or elsewhere; ends it when still running.
struct Program {
    PROCESS_INFORMATION process = {};
    HWND dialog = nullptr;

    // Starts the Orvand.exe in the folder of `path` (a folder ends in "\\"), also its current one.
    bool Start(const std::wstring& path = ProgramPath()) {
        const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
        std::wstring command = L"\"" + folder + L"Orvand.exe\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &process))
            return false;
        WaitForInputIdle(process.hProcess, 10000);
        for (int i = 0; i < 500 && !dialog; ++i) {
            dialog = FindWindowW(L"#32770", L"Orvand");
            if (!dialog) Sleep(20);
        }
        return dialog != nullptr;
    }
    // Waits until the first field shows its mask: the dialog has initialised and focused it.
    bool Ready() const {
        for (int i = 0; i < 250; ++i, Sleep(20))
            if (WideText(Item(IDC_ZEIT1)) == L"__:__:__") return true;
        return false;
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool EndsWithin(DWORD ms) const { return WaitForSingleObject(process.hProcess, ms) == 0; }
    DWORD ExitCode() const {
        DWORD code = 99;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    ~Program() {
        if (!process.hProcess) return;
        if (!EndsWithin(0)) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
};

// The program's info box, once it is there.
HWND WaitForInfoBox() {
    HWND box = nullptr;
    for (int i = 0; i < 250 && !box; ++i, Sleep(20))
        box = FindWindowW(L"#32770", L"Info \u00FCber Orvand");
    return box;
}

void PostKey(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1 | LPARAM(MapVirtualKeyW(vk, 0)) << 16);
    PostMessageW(target, WM_KEYUP, vk, 1 | LPARAM(MapVirtualKeyW(vk, 0)) << 16 | LPARAM(3) << 30);
}

TEST(Process, StartsWithTheFirstFieldFocused) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Ready());
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(program.process.dwThreadId, &info));
    EXPECT_EQ(info.hwndFocus, program.Item(IDC_ZEIT1));
    EXPECT_EQ(WideText(program.Item(IDC_ZEIT1)), L"__:__:__");
    EXPECT_EQ(SendMessageW(program.Item(IDC_ZEIT1), EM_GETSEL, 0, 0), 0);
    EXPECT_EQ(WideText(program.Item(IDC_ZEIT2)), L"");
    EXPECT_EQ(WideText(program.Item(IDC_ERGEBNIS)), L"");
    EXPECT_TRUE(GetWindowLongW(program.dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    SendMessageW(program.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.EndsWithin(10000));
}

TEST(Process, EndsOnBeendenAndOnClosingTheWindow) {
    const struct {
        const char* way;
        int target; // 0: the dialog itself
        UINT message;
        WPARAM wParam;
    } ways[] = {{"Be&enden", IDOK, BM_CLICK, 0}, {"close", 0, WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& w : ways) {
        Program program;
        ASSERT_TRUE(program.Start()) << w.way;
        PostMessageW(w.target ? program.Item(w.target) : program.dialog, w.message, w.wParam, 0);
        EXPECT_TRUE(program.EndsWithin(10000)) << w.way;
        EXPECT_EQ(program.ExitCode(), 0u) << w.way;
        EXPECT_FALSE(IsWindow(program.dialog)) << w.way;
    }
}

TEST(Process, EscapeEndsItOnlyWhenTheFieldHoldsASelection) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Ready());
    HWND first = program.Item(IDC_ZEIT1);
    PostKey(first, VK_ESCAPE);
    EXPECT_FALSE(program.EndsWithin(500)); // swallowed by the time field
    SendMessageW(first, EM_SETSEL, 0, -1);
    PostKey(first, VK_ESCAPE);
    EXPECT_TRUE(program.EndsWithin(10000));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(program.dialog));
}

// The paths of the modules loaded in process `id`, lower case.
std::vector<std::wstring> ModulesOf(DWORD id) {
    std::vector<std::wstring> paths;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id);
    if (snapshot == INVALID_HANDLE_VALUE) return paths;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more;
         more = Module32NextW(snapshot, &module)) {
        std::wstring path = module.szExePath;
        std::transform(path.begin(), path.end(), path.begin(), towlower);
        paths.push_back(path);
    }
    CloseHandle(snapshot);
    return paths;
}

// Whether `path` is the common controls library of version 6 (its side-by-side assembly).
bool IsCommonControls6(std::wstring path) {
    std::transform(path.begin(), path.end(), path.begin(), towlower);
    const std::wstring file = L"\\comctl32.dll";
    return path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.") != path.npos &&
           path.size() > file.size() &&
           path.compare(path.size() - file.size(), file.size(), file) == 0;
}

bool Loaded(const std::vector<std::wstring>& modules, const wchar_t* file) {
    return std::any_of(modules.begin(), modules.end(), [file](const std::wstring& path) {
        return path.size() > wcslen(file) &&
               path.compare(path.size() - wcslen(file), wcslen(file), file) == 0;
    });
}

TEST(Process, RunsWithCommonControls6AndNamesItsControlsForOtherProcesses) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Ready());
    const std::vector<std::wstring> before = ModulesOf(program.process.dwProcessId);
    EXPECT_EQ(std::count_if(before.begin(), before.end(), IsCommonControls6), 1);
    EXPECT_FALSE(Loaded(before, L"\\oleacc.dll")); // until an assistive client asks

    // The names come from the program, everything else from the system's own object.
    SendMessageW(program.Item(IDC_STATUS), WM_SETTEXT, 0, LPARAM(L"Falsche L\u00E4nge"));
    const struct {
        int id;
        const wchar_t *name, *description;
    } controls[] = {
        {IDC_ZEIT1, L"Erster Zeitwert", L""},
        {IDC_ZEIT2, L"Zweiter Zeitwert", L""},
        {IDC_ERGEBNIS, L"Zeitdifferenz", L""},
        {IDC_HOLEN1, L"Aus Zwischenablage: Erster Zeitwert", L""},
        {IDC_HOLEN2, L"Aus Zwischenablage: Zweiter Zeitwert", L""},
        {IDC_ABLEGEN, L"In Zwischenablage: Zeitdifferenz", L""},
        {IDC_DIFFERENZ, L"Differenz", L"Berechnung der Zeitdifferenz"},
        {IDOK, L"Beenden", L"Beenden des Programmes"},
        {IDC_STATUS, L"Falsche L\u00E4nge", L""},
    };
    for (const auto& c : controls) {
        AccessibleView view, standard;
        ASSERT_TRUE(ReadAccessible(program.Item(c.id), view)) << c.id;
        ASSERT_TRUE(ReadAccessible(program.Item(c.id), standard, true)) << c.id;
        EXPECT_EQ(view.name, c.name) << c.id;
        EXPECT_EQ(view.description, c.description) << c.id;
        EXPECT_EQ(view.value, standard.value) << c.id; // what the field shows
        EXPECT_EQ(view.role, standard.role) << c.id;
    }
    AccessibleView first;
    ReadAccessible(program.Item(IDC_ZEIT1), first);
    EXPECT_EQ(first.value, L"__:__:__");
    EXPECT_EQ(first.lateBoundName, L"Erster Zeitwert");
    EXPECT_TRUE(Loaded(ModulesOf(program.process.dwProcessId), L"\\oleacc.dll"));
    PostMessageW(program.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.EndsWithin(10000));
    EXPECT_EQ(program.ExitCode(), 0u);
}

// What a screen reader in another process hears of live regions: the program's events with
// the name or value that the control's object reports at that moment.
struct Heard {
    DWORD process = 0;
    std::vector<std::wstring> events;
};
Heard heard;

void CALLBACK Listen(HWINEVENTHOOK, DWORD, HWND control, LONG object, LONG child, DWORD, DWORD) {
    DWORD process = 0;
    GetWindowThreadProcessId(control, &process);
    AccessibleView view;
    if (process != heard.process || !ReadAccessible(control, view)) return;
    const bool self = object == OBJID_CLIENT && child == CHILDID_SELF;
    heard.events.push_back(std::to_wstring(GetDlgCtrlID(control)) + (self ? L" " : L" ?") +
                           view.name + L"|" + view.value);
}

TEST(Process, ScreenReadersHearTheStatusLineAndEachDifference) {
    Program program;
    ASSERT_TRUE(program.Start() && program.Ready());
    heard.process = program.process.dwProcessId;
    // Wine delivers events out of context only to a hook on all processes.
    const DWORD liveRegionChanged = 0x8019; // EVENT_OBJECT_LIVEREGIONCHANGED, Windows 8 on
    HWINEVENTHOOK hook = SetWinEventHook(liveRegionChanged, liveRegionChanged, nullptr, Listen, 0,
                                         0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto wait = [](size_t events) {
        for (int i = 0; i < 250 && heard.events.size() < events; ++i) Pump();
    };
    ASSERT_TRUE(PutClipboardText("1234"));
    PostMessageW(program.Item(IDC_HOLEN1), BM_CLICK, 0, 0);
    wait(1);
    SendMessageW(program.Item(IDC_ZEIT1), WM_SETTEXT, 0, LPARAM(L"12:30:00"));
    SendMessageW(program.Item(IDC_ZEIT2), WM_SETTEXT, 0, LPARAM(L"08:15:45"));
    for (int twice = 0; twice < 2; ++twice) {
        PostMessageW(program.Item(IDC_DIFFERENZ), BM_CLICK, 0, 0);
        wait(2 + twice);
    }
    UnhookWinEvent(hook);
    const std::vector<std::wstring> expected = {L"1008 Falsche L\u00E4nge|",
                                                L"1003 Zeitdifferenz|04:14:15",
                                                L"1003 Zeitdifferenz|04:14:15"};
    EXPECT_EQ(heard.events, expected);
}

TEST(Process, QuitWhileTheInfoBoxIsOpenEndsBothLoopsWithItsCode) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Ready());
    PostMessageW(program.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND box = WaitForInfoBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WideText(GetDlgItem(box, IDC_VERSION)), L"Version (2.0.0.3)");
    PostThreadMessageW(program.process.dwThreadId, WM_QUIT, 7, 0);
    EXPECT_TRUE(program.EndsWithin(10000));
    EXPECT_EQ(program.ExitCode(), 7u);
}

TEST(Process, LoadsNoLibraryFromItsFolder) {
    // Copies beside libraries named like system ones that leave a mark when loaded (Wine looks
    // there first when its CTest entry says so): the program, and a build of it that finds no
    // SetDefaultDllDirectories, as on older systems. The system's oleacc.dll imports
    // oleaut32.dll. Wine's own user32 imports version.dll: there the version line shows that the
    // program does not use the planted one.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    wchar_t overrides[256] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 256);
    ASSERT_TRUE(!wine || wcsstr(overrides, L"version,oleacc,oleaut32=n,b")) << overrides;
    const std::wstring folder = ExeDirectory() + L"planted\\";
    const auto marked = [&folder](const wchar_t* library) {
        return GetFileAttributesW((folder + library + L".loaded").c_str()) !=
               INVALID_FILE_ATTRIBUTES;
    };
    for (const wchar_t* build : {L"Orvand.exe", L"Orvand-nodefaultdirs.exe"}) {
        SCOPED_TRACE(testing::Message() << build);
        ASSERT_TRUE(
            CopyFileW((ExeDirectory() + build).c_str(), (folder + L"Orvand.exe").c_str(), FALSE));
        for (const wchar_t* library : {L"version.dll", L"oleacc.dll", L"oleaut32.dll"})
            DeleteFileW((folder + library + L".loaded").c_str());
        Program program;
        ASSERT_TRUE(program.Start(folder) && program.Ready());

        AccessibleView view; // an assistive client asks
        EXPECT_TRUE(ReadAccessible(program.Item(IDC_ZEIT1), view));
        EXPECT_EQ(view.name, L"Erster Zeitwert");
        PostMessageW(program.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND box = WaitForInfoBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WideText(GetDlgItem(box, IDC_VERSION)), L"Version (2.0.0.3)");
        EXPECT_FALSE(marked(L"oleacc.dll") || marked(L"oleaut32.dll"));
        EXPECT_FALSE(!wine && marked(L"version.dll"));
        PostThreadMessageW(program.process.dwThreadId, WM_QUIT, 0, 0);
        EXPECT_TRUE(program.EndsWithin(10000));
    }
}

} // namespace
