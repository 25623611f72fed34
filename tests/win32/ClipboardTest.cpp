// Import and export through the real clipboard.
#include "Harness.h"

#include "dialogs/RechnerDlg.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#define PSAPI_VERSION 2 // GetProcessMemoryInfo from kernel32
#include <psapi.h>

#include <atomic>
#include <cwchar>
#include <thread>

namespace {

// The longest text the field reads, 64 characters in 66 UTF-16 units (two surrogate pairs).
const std::wstring longest = L"12\U0001F60034\U0001F60056" + std::wstring(56, L' ');

struct Clipboard : testing::Test {
    CRechnerDlg dialog;

    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        Pump();
    }
    void Click(int id) {
        SendMessageW(dialog.Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    std::string Status() const { return dialog.GetItemText(IDC_STATUS); }
    // The field's own paste (Ctrl+V) over all its text: the time it reads back, "" for none.
    std::string Pasted(CZeitEdit& field) {
        SendMessageW(field.hwnd, EM_SETSEL, 0, -1);
        SendMessageW(field.hwnd, WM_PASTE, 0, 0);
        return field.GetZeit().Format("%H:%M:%S");
    }
};

// Holds the clipboard open from another thread while alive.
struct ClipboardHolder {
    std::atomic<bool> open{false}, release{false};
    std::thread thread;
    ClipboardHolder()
        : thread([this] {
              open = OpenClipboard(nullptr) != FALSE;
              while (!release) Sleep(5);
              if (open) CloseClipboard();
          }) {
        for (int i = 0; i < 200 && !open; ++i) Sleep(5);
    }
    ~ClipboardHolder() {
        release = true;
        thread.join();
    }
};

TEST_F(Clipboard, ExportNeedsEightCharactersInTheResultField) {
    PutClipboardText("sentinel");
    Click(IDC_ABLEGEN); // never focused or set: still the template's empty text
    EXPECT_EQ(ClipboardText(), "sentinel");

    SetFocus(dialog.result.hwnd);
    Pump();
    Click(IDC_ABLEGEN);
    EXPECT_EQ(ClipboardText(), "__:__:__");

    Type(dialog.result.hwnd, "225");
    Click(IDC_ABLEGEN);
    EXPECT_EQ(ClipboardText(), "22:5_:__");
}

TEST_F(Clipboard, ExportedBlockIsNineBytesOfText) {
    dialog.first.ParseText("123000");
    dialog.second.ParseText("081545");
    Click(IDC_DIFFERENZ);
    Click(IDC_ABLEGEN);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GlobalSize(data), 9u);
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    EXPECT_EQ(std::string(bytes, 9), std::string("04:14:15\0", 9));
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(Clipboard, ImportAcceptsTheThreeForms) {
    const struct {
        int button;
        const wchar_t* text;
    } cases[] = {
        {IDC_HOLEN1, L"12.34.56"},
        {IDC_HOLEN1, L"12 34 56"},
        {IDC_HOLEN1, L"123456"},
        {IDC_HOLEN2, L"12:34:56"},
        {IDC_HOLEN2, L"12\u00B034\u00B056"}, // characters beyond ASCII as separators
        // Web pages, documents and other systems: Unicode spaces and invisible characters.
        {IDC_HOLEN1, L"\u00A012:34:56\u202F"},
        {IDC_HOLEN1, L"\u3000\u2007123456\u200B"},
        {IDC_HOLEN2, L"\uFEFF\u200E12.34.56\u2060\r\n"},
        {IDC_HOLEN1, L"12\U0001F60034\U0001F60056"}, // a surrogate pair is one character
        {IDC_HOLEN2, longest.c_str()},
    };
    for (const auto& c : cases) {
        CZeitEdit& field = c.button == IDC_HOLEN1 ? dialog.first : dialog.second;
        field.SetZeit(ZeitWert(), "");
        dialog.SetItemText(IDC_STATUS, "old");
        ASSERT_TRUE(PutClipboard(c.text, (wcslen(c.text) + 1) * sizeof(wchar_t), CF_UNICODETEXT));
        Click(c.button);
        EXPECT_EQ(field.GetText(), "12:34:56") << testing::PrintToString(c.text);
        EXPECT_EQ(Status(), "") << testing::PrintToString(c.text);
        EXPECT_EQ(Pasted(field), "12:34:56") << testing::PrintToString(c.text);
    }
}

TEST_F(Clipboard, UnusableTextShowsItsMessage) {
    const struct {
        std::string text; // CF_TEXT, unless `wide` holds a CF_UNICODETEXT
        const char *shown, *status;
        std::wstring wide = L"";
    } cases[] = {
        {"1234", "01:02:03", "Falsche L\xE4nge"},
        {" 99:00:00\r\n", "__:__:__", "\"99:00:00\" ist ung\xFCltig"}, // quoted as trimmed
        {"\xE4\xE4:00:00", "01:02:03", "Falsche L\xE4nge"},
        {"99:00:00", "__:__:__", "\"99:00:00\" ist ung\xFCltig"},
        {"126000", "__:__:__", "\"126000\" ist ung\xFCltig"},
        {"99\r99\n99", "__:__:__", "\"99?99?99\" ist ung\xFCltig"}, // no raw control character
        {std::string(1 << 20, '7'), "01:02:03", "Falsche L\xE4nge"},
        // Control characters of C1 in both formats; a surrogate pair is one character.
        {std::string("99\x81") + "00\x9D" + "00", "__:__:__", "\"99?00?00\" ist ung\xFCltig"},
        {"", "__:__:__", "\"99?00?00\" ist ung\xFCltig", L"99\u008F00\u009000"},
        {"", "__:__:__", "\"99?00?00\" ist ung\xFCltig", L"99\U0001F60000\U0001F60000"},
        {"", "01:02:03", "Falsche L\xE4nge", longest + L" "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 12) + testing::PrintToString(c.wide));
        dialog.first.ParseText("010203");
        ASSERT_TRUE(c.wide.empty()
                        ? PutClipboardText(c.text)
                        : PutClipboard(c.wide.c_str(), 2 * c.wide.size() + 2, CF_UNICODETEXT));
        Click(IDC_HOLEN1);
        EXPECT_EQ(dialog.first.GetText(), c.shown);
        EXPECT_EQ(Status(), c.status);
        if (c.wide.empty()) continue;
        EXPECT_EQ(Pasted(dialog.first), ""); // the field's own paste judges it the same way
    }
    ASSERT_TRUE(PutClipboardText("010203"));
    Click(IDC_HOLEN1); // a good import clears the line
    EXPECT_EQ(Status(), "");
}

TEST_F(Clipboard, AnAmpersandInPastedTextIsNoShortcut) {
    ASSERT_TRUE(PutClipboardText("99&00&00"));
    Click(IDC_HOLEN1);
    EXPECT_EQ(Status(), "\"99&00&00\" ist ung\xFCltig");
    EXPECT_TRUE(GetWindowLongW(dialog.Item(IDC_STATUS), GWL_STYLE) & SS_NOPREFIX); // drawn as "&"
    SetFocus(dialog.second.hwnd);
    Pump();
    AltPress(dialog.second.hwnd, '0'); // would move the focus, were "&0" a mnemonic
    EXPECT_EQ(GetFocus(), dialog.second.hwnd);
}

TEST_F(Clipboard, LargeBlockIsJudgedByItsStart) {
    // Neither the program nor the system converts the block: the process's working set, now
    // and at its peak, grows by far less than the block's size.
    ASSERT_TRUE(PutClipboardText("12:34:56" + std::string(4 << 20, '7')));
    dialog.first.ParseText("010203");
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    Click(IDC_HOLEN1);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_EQ(Status(), "Falsche L\xE4nge");
    EXPECT_EQ(dialog.first.GetText(), "01:02:03");
    EXPECT_LT(after.WorkingSetSize, before.WorkingSetSize + (1 << 20));
    EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + (1 << 20));
}

TEST_F(Clipboard, WithoutTextNothingChangesButTheStatusLine) {
    dialog.first.ParseText("010203");
    dialog.SetItemText(IDC_STATUS, "Falsche L\xE4nge");
    ClearClipboard();
    Click(IDC_HOLEN1);
    EXPECT_EQ(dialog.first.GetText(), "01:02:03");
    EXPECT_EQ(Status(), "");
}

TEST_F(Clipboard, BusyClipboardChangesNothing) {
    ASSERT_TRUE(PutClipboardText("12:34:56"));
    dialog.first.ParseText("010203");
    dialog.SetItemText(IDC_STATUS, "Falsche L\xE4nge");
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.open);
        Click(IDC_HOLEN1);
        EXPECT_EQ(dialog.first.GetText(), "01:02:03");
        EXPECT_EQ(Status(), "");
        dialog.result.ParseText("111111");
        Click(IDC_ABLEGEN); // export gives up quietly too
    }
    EXPECT_EQ(ClipboardText(), "12:34:56");
}

} // namespace
