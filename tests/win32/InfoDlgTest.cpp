// The info box: version block, caption, feedback line and the clip, also from copies of
// the test program under other names, with and without version block and clip.
#include "Harness.h"

#include "app/Applikation.h"
#include "dialogs/InfoDlg.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// Routes messages for `ms` milliseconds.
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PumpWaitingMessages();
        Sleep(10);
    }
}

// How many of `count` captures, `interval` ms apart, differ from the one before.
int CountChanges(HWND window, int count, DWORD interval) {
    int changes = 0;
    std::vector<DWORD> previous = Capture(window);
    for (int i = 0; i < count; ++i) {
        PumpFor(interval);
        std::vector<DWORD> next = Capture(window);
        if (next != previous) ++changes;
        previous = next;
    }
    return changes;
}

struct Texts {
    std::string caption, version, copyright, comments, feedback;
    bool operator==(const Texts& o) const {
        return caption == o.caption && version == o.version && copyright == o.copyright &&
               comments == o.comments && feedback == o.feedback;
    }
};

Texts TextsOf(const CInfoDlg& info) {
    return {info.GetText(), info.GetItemText(IDC_VERSION), info.GetItemText(IDC_COPYRIGHT),
            info.GetItemText(IDC_KOMMENTAR), info.GetItemText(IDC_FEEDBACK)};
}

// An open info box, shown.
struct InfoBox : testing::Test {
    CInfoDlg info;
    void SetUp() override {
        ASSERT_TRUE(info.Create(nullptr));
        ShowWindow(info.hwnd, SW_SHOW);
        Pump();
    }
};

TEST_F(InfoBox, ShowsTheVersionBlockOfItsOwnFile) {
    const Texts texts = TextsOf(info);
    EXPECT_EQ(texts.version, "Version (2.0.0.3)");
    EXPECT_EQ(texts.comments, "Release 03.08.2001");
    EXPECT_EQ(texts.copyright, "Copyright (C) 2001 Orvand");
    EXPECT_EQ(texts.feedback, ORVAND_FEEDBACK);
    EXPECT_EQ(WideText(info.hwnd), L"Info \u00FCber win32_tests");
    EXPECT_NE(SendMessageW(info.Item(IDC_INFOICON), STM_GETICON, 0, 0), 0);
}

TEST_F(InfoBox, AnimationPlaysAndLoops) {
    HWND clip = info.animation.hwnd;
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(GetParent(clip), info.Item(IDC_ANIMATION));
    EXPECT_EQ(GetDlgCtrlID(clip), IDC_ANIMATION);
    EXPECT_EQ(DWORD(GetWindowLongW(clip, GWL_STYLE)) & 0xFFFF000F, 0x50000003u);
    RECT area, rect;
    GetClientRect(info.Item(IDC_ANIMATION), &area);
    GetClientRect(clip, &rect);
    EXPECT_TRUE(EqualRect(&area, &rect));

    EXPECT_GE(CountChanges(clip, 10, 100), 3); // the first second
    PumpFor(1000);                             // past the 19th frame
    EXPECT_GE(CountChanges(clip, 10, 100), 3); // still moving: it loops
}

TEST(InfoBoxAgain, OpeningTwiceGivesTheSameTexts) {
    Texts first, second;
    {
        CInfoDlg info;
        ASSERT_TRUE(info.Create(nullptr));
        first = TextsOf(info);
    }
    {
        CInfoDlg info;
        ASSERT_TRUE(info.Create(nullptr));
        second = TextsOf(info);
    }
    EXPECT_EQ(first.version, "Version (2.0.0.3)");
    EXPECT_TRUE(first == second);
}

TEST(InfoBoxAgain, ReadVersionInfo) {
    CApplikation* app = CApplikation::Current();
    ASSERT_NE(app, nullptr);
    std::string file = "x", product = "x", comments = "x", copyright = "x";
    EXPECT_TRUE(app->ReadVersionInfo(file, product, comments, copyright));
    EXPECT_EQ(file, "2.0.0.3");
    EXPECT_EQ(product, "1.0.0.1");
    EXPECT_EQ(comments, "Release 03.08.2001");
    EXPECT_EQ(copyright, "Copyright (C) 2001 Orvand");

    // Resources from a module loaded as data: it has no file name, so no version is read.
    const HINSTANCE module = app->instance;
    const std::wstring program = ExeDirectory() + L"Orvand.exe";
    app->instance = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(app->instance, nullptr);
    std::string a = "a", b = "b", c = "c", d = "d";
    EXPECT_FALSE(app->ReadVersionInfo(a, b, c, d));
    FreeLibrary(app->instance);
    app->instance = module;
    EXPECT_EQ(a + b + c + d, "abcd"); // nothing found, nothing changed
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

// The languages in which resource (type, id) exists in the file at `path`.
std::vector<WORD> LanguagesOf(const std::wstring& path, LPCWSTR type, LPCWSTR id) {
    std::vector<WORD> languages;
    if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        EnumResourceLanguagesW(module, type, id, CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        FreeLibrary(module);
    }
    return languages;
}

// Overwrites the resources (type, id) in `spoil` with a few bytes that hold nothing usable, in
// every language. The version block keeps lengths that stay inside it (its header promises a fixed
// part it lacks): Wine reads every program's version block while starting it, and a block whose
// length lies sends that reader past its end before the program runs.
bool SpoilResources(const std::wstring& path,
                    const std::vector<std::pair<LPCWSTR, LPCWSTR>>& spoil) {
    static char junk[4] = {'j', 'u', 'n', 'k'};
    static char brokenVersion[8] = {8, 0, 0x34, 0, 0, 0, 0, 0};
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    if (!update) return false;
    bool found = true;
    for (const auto& [type, id] : spoil) {
        const std::vector<WORD> languages = LanguagesOf(path, type, id);
        found = found && !languages.empty();
        for (WORD language : languages) {
            if (type == RT_VERSION)
                UpdateResourceW(update, type, id, language, brokenVersion, sizeof brokenVersion);
            else
                UpdateResourceW(update, type, id, language, junk, sizeof junk);
        }
    }
    return EndUpdateResourceW(update, !found) && found;
}

} // namespace

// Runs the InfoCopy suite in a copy of this program named `name`, told what to expect;
// without version block or clip, those resources of the copy are spoiled.
// Each copy goes into a directory of its own.
DWORD RunCopy(const std::wstring& name, const char* expected, bool withVersion, bool withClip) {
    const std::wstring directory =
        ExeDirectory() + L"copy-" + std::to_wstring(GetTickCount()) + L"\\";
    const std::wstring path = directory + name + L".exe";
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (!CreateDirectoryW(directory.c_str(), nullptr) || !CopyFileW(self, path.c_str(), FALSE))
        return 100;
    std::vector<std::pair<LPCWSTR, LPCWSTR>> spoil;
    if (!withVersion) spoil.emplace_back(RT_VERSION, MAKEINTRESOURCEW(1));
    if (!withClip) spoil.emplace_back(L"AVI", MAKEINTRESOURCEW(IDR_ANIMATION));
    if (!spoil.empty() && !SpoilResources(path, spoil)) return 101;

    SetEnvironmentVariableA("ORVAND_EXPECT", expected);
    std::wstring command = L"\"" + path + L"\" --gtest_filter=InfoCopy.*";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 102;
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    SetEnvironmentVariableA("ORVAND_EXPECT", nullptr);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(directory.c_str());
    return code;
}

namespace {

TEST(InfoBoxAgain, ACopyUnderAnotherNameShowsThatName) {
    EXPECT_EQ(
        RunCopy(L"Zeitrechner", "Zeitrechner|Version (2.0.0.3)|Release 03.08.2001|1", true, true),
        0u);
}

TEST(InfoBoxAgain, ACopyWithABrokenVersionBlockAndClipStillShowsTheBox) {
    EXPECT_EQ(RunCopy(L"Ohne Version", "Ohne Version|Version ()||0", false, false), 0u);
}

TEST(InfoBoxAgain, TheNameNamesTheCaptionButNotTheFileRead) {
    CApp* app = CApp::Current();
    const std::string name = app->appName;
    app->appName = "Nirgendwo"; // no such file: the version is still the program's own
    {
        CInfoDlg info;
        ASSERT_TRUE(info.Create(nullptr));
        const Texts texts = TextsOf(info);
        EXPECT_EQ(texts.caption, "Info \xFC"
                                 "ber Nirgendwo");
        EXPECT_EQ(texts.version, "Version (2.0.0.3)");
        EXPECT_EQ(texts.copyright, "Copyright (C) 2001 Orvand");
        EXPECT_EQ(texts.comments, "Release 03.08.2001");
        EXPECT_EQ(texts.feedback, ORVAND_FEEDBACK);
    }
    app->appName = name;
}

// Runs only in the copies made above: ORVAND_EXPECT is "name|version line|comments|clip".
TEST(InfoCopy, ShowsWhatItsFileHolds) {
    const char* expect = std::getenv("ORVAND_EXPECT");
    if (!expect) GTEST_SKIP() << "runs in the copies that InfoBoxAgain makes";
    std::vector<std::string> parts(1);
    for (const char* p = expect; *p; ++p) {
        if (*p == '|')
            parts.emplace_back();
        else
            parts.back() += *p;
    }
    ASSERT_EQ(parts.size(), 4u);

    CInfoDlg info;
    ASSERT_TRUE(info.Create(nullptr));
    ShowWindow(info.hwnd, SW_SHOW);
    Pump();
    EXPECT_EQ(info.GetText(), "Info \xFC"
                              "ber " +
                                  parts[0]);
    EXPECT_EQ(info.GetItemText(IDC_VERSION), parts[1]);
    EXPECT_EQ(info.GetItemText(IDC_KOMMENTAR), parts[2]);
    EXPECT_EQ(info.GetItemText(IDC_COPYRIGHT), parts[2].empty() ? "" : "Copyright (C) 2001 Orvand");
    EXPECT_EQ(info.GetItemText(IDC_FEEDBACK), ORVAND_FEEDBACK);
    PumpFor(300); // let the box finish painting
    const bool plays = CountChanges(info.animation.hwnd, 8, 100) > 0;
    EXPECT_EQ(plays, parts[3] == "1");
    EXPECT_EQ(info.animation.Open(IDR_ANIMATION), parts[3] == "1");
}

} // namespace
