// The time field in the real calculator dialog, driven by posted keyboard messages.
#include "Harness.h"

#include "dialogs/RechnerDlg.h"
#include "framework/App.h"
#include "framework/Text.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct ZeitEdit : testing::Test {
    CRechnerDlg dialog;
    HWND first = nullptr;

    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        first = dialog.first.hwnd;
        ASSERT_NE(first, nullptr);
        SetFocus(first);
        Pump();
    }
};

TEST_F(ZeitEdit, FocusShowsTheMask) {
    EXPECT_EQ(GetFocus(), first);
    EXPECT_EQ(dialog.first.GetText(), "__:__:__");
    EXPECT_EQ(SelStart(first), 0u);
    EXPECT_EQ(SelEnd(first), 0u);
}

TEST_F(ZeitEdit, TypedTimeShowsWithItsCaret) {
    const struct {
        UINT vk;
        const char* shown;
        DWORD caret;
    } steps[] = {
        {'1', "1_:__:__", 1},       {VK_NUMPAD2, "12:__:__", 2}, {'7', "12:__:__", 3},
        {'3', "12:3_:__", 4},       {'0', "12:30:__", 5},        {VK_LEFT, "12:30:__", 4},
        {VK_BACK, "12:_0:__", 3},   {'4', "12:40:__", 4},        {VK_END, "12:40:__", 8},
        {VK_HOME, "12:40:__", 0},   {VK_DELETE, "_2:40:__", 0},  {'A', "_2:40:__", 0},
        {VK_ESCAPE, "_2:40:__", 0},
    };
    for (const auto& step : steps) {
        Press(first, step.vk);
        EXPECT_EQ(dialog.first.GetText(), step.shown) << step.vk;
        EXPECT_EQ(SelStart(first), step.caret) << step.vk;
        EXPECT_EQ(SelEnd(first), step.caret) << step.vk;
    }
    EXPECT_FALSE(dialog.Ended()); // Escape without a selection is swallowed
}

TEST_F(ZeitEdit, EscapeWithASelectionEndsTheDialog) {
    Type(first, "1234");
    SendMessageW(first, EM_SETSEL, 0, -1);
    Press(first, VK_ESCAPE);
    EXPECT_TRUE(dialog.Ended());
}

TEST_F(ZeitEdit, WithASelectionTheControlEditsAndTheSlotsStay) {
    Type(first, "123456");
    SendMessageW(first, EM_SETSEL, 0, -1); // as a mouse selection of everything
    Press(first, '5');
    EXPECT_EQ(dialog.first.GetText(), "5"); // the edit control's own typing, and no time
    EXPECT_EQ(dialog.first.GetZeit().status, ZeitWert::invalid);
    Press(first, '9'); // no selection now: the old time comes back with 9 at caret 1
    EXPECT_EQ(dialog.first.GetText(), "19:34:56");
}

TEST_F(ZeitEdit, ReadOnlyResultFieldStillTakesDigits) {
    HWND result = dialog.result.hwnd;
    EXPECT_TRUE(GetWindowLongW(result, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(dialog.result.GetText(), ""); // never focused, never set
    SetFocus(result);
    Pump();
    EXPECT_EQ(dialog.result.GetText(), "__:__:__");
    Type(result, "0815");
    EXPECT_EQ(dialog.result.GetText(), "08:15:__");
}

TEST_F(ZeitEdit, AltLetterPassesToTheDialog) {
    Type(first, "123000");
    SetFocus(dialog.second.hwnd);
    Pump();
    Type(dialog.second.hwnd, "081545");
    AltPress(dialog.second.hwnd, 'D'); // &Differenz
    EXPECT_EQ(dialog.result.GetText(), "04:14:15");
    EXPECT_FALSE(dialog.Ended());
    AltPress(dialog.second.hwnd, 'E'); // Be&enden
    EXPECT_TRUE(dialog.Ended());
}

TEST_F(ZeitEdit, TabMovesOnAndTheNextFieldShowsItsMask) {
    Press(first, VK_TAB);
    EXPECT_EQ(GetFocus(), dialog.second.hwnd);
    EXPECT_EQ(dialog.second.GetText(), "__:__:__");
    EXPECT_EQ(SelStart(dialog.second.hwnd), 0u);
    EXPECT_EQ(SelEnd(dialog.second.hwnd), 0u);
}

// Umlauts reach the windows correctly whatever the system's ANSI code page.
struct Umlaut : testing::Test {
    CRechnerDlg dialog;
    void SetUp() override {
        if (const char* acp = std::getenv("ORVAND_EXPECT_ACP")) {
            ASSERT_EQ(GetACP(), UINT(std::atoi(acp))) << "the locale did not take effect";
        }
        ASSERT_TRUE(dialog.Create(nullptr));
    }
};

TEST_F(Umlaut, WindowTextsRoundTrip) {
    HWND status = dialog.Item(IDC_STATUS);
    for (const char* text : {"Falsche L\xE4nge",
                             "\"25:00:00\" ist ung\xFC"
                             "ltig",
                             "\xC4\xD6\xDC\xDF"}) {
        dialog.SetItemText(IDC_STATUS, text);
        EXPECT_EQ(dialog.GetItemText(IDC_STATUS), text);
    }
    dialog.SetItemText(IDC_STATUS, "Falsche L\xE4nge");
    EXPECT_EQ(WideText(status), L"Falsche L\u00E4nge");
}

TEST_F(Umlaut, TemplateAndStringTableTexts) {
    EXPECT_EQ(WideText(dialog.Item(IDOK)), L"Be&enden");
    EXPECT_EQ(CApp::Current()->LoadText(IDS_ABOUTBOX), "Inf&o \xFC"
                                                       "ber Orvand...");
}

TEST_F(Umlaut, ClipboardTextOfAUnicodeProgram) {
    // Cyrillic separators and 99 seconds: the message shows "?" where code page 1252 has no
    // character, not the Cyrillic letter's byte in the system's code page read as 1252.
    const wchar_t text[] = L"12\u043634\u043699";
    ASSERT_TRUE(PutClipboard(text, sizeof text, CF_UNICODETEXT));
    SendMessageW(dialog.Item(IDC_HOLEN1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(WideText(dialog.Item(IDC_STATUS)), L"\"12?34?99\" ist ung\u00FCltig");
}

TEST_F(Umlaut, AProgramFileNameOutsideCodePage1252) {
    // "Zeit\u221E.exe": the caption names it with "?", and the version lines are its own.
    EXPECT_EQ(RunCopy(L"Zeit\u221E", "Zeit?|Version (2.0.0.3)|Release 03.08.2001|1", true, true),
              0u);
}

} // namespace
