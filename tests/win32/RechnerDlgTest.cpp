// The calculator dialog: start-up state, the difference, Return and Alt+D.
#include "Harness.h"

#include "dialogs/RechnerDlg.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

struct RechnerDlg : testing::Test {
    CRechnerDlg dialog;

    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        Pump();
    }
    // Empties every slot of `field`.
    static void Clear(CZeitEdit& field) {
        ZeitWert none;
        none.status = ZeitWert::invalid;
        field.SetZeit(none, "");
        std::string message;
        field.FetchError(message);
    }
    // Focuses `field` and types `keys` into it.
    void Enter(CZeitEdit& field, const char* keys) {
        SetFocus(field.hwnd);
        Pump();
        Type(field.hwnd, keys);
    }
};

TEST_F(RechnerDlg, StartsWithTheFirstFieldFocusedAndTheOthersEmpty) {
    EXPECT_EQ(GetFocus(), dialog.first.hwnd);
    EXPECT_EQ(dialog.first.GetText(), "__:__:__");
    EXPECT_EQ(SelStart(dialog.first.hwnd), 0u);
    EXPECT_EQ(dialog.second.GetText(), "");
    EXPECT_EQ(dialog.result.GetText(), "");
    EXPECT_EQ(dialog.GetItemText(IDC_STATUS), "");
    EXPECT_EQ(dialog.GetText(), "Orvand");
}

TEST_F(RechnerDlg, ReturnShowsTheAbsoluteDifference) {
    const struct {
        const char *first, *second, *difference;
    } cases[] = {
        {"123000", "081545", "04:14:15"}, {"081545", "123000", "04:14:15"},
        {"101010", "101010", "00:00:00"}, {"235959", "000000", "23:59:59"},
        {"000000", "235959", "23:59:59"}, {"130000", "120000", "01:00:00"},
        {"1230", "081545", "__:__:__"},   {"240000", "000000", "__:__:__"},
        {"123000", "", "__:__:__"},
    };
    for (const auto& c : cases) {
        Clear(dialog.first);
        Clear(dialog.second);
        Enter(dialog.first, c.first);
        Enter(dialog.second, c.second);
        Press(dialog.second.hwnd, VK_RETURN);
        EXPECT_EQ(dialog.result.GetText(), c.difference) << c.first << " - " << c.second;
    }
    EXPECT_EQ(dialog.GetItemText(IDC_STATUS), ""); // the result field's complaint stays unread
}

TEST_F(RechnerDlg, ReturnInEitherFieldComputes) {
    Enter(dialog.first, "123000");
    Enter(dialog.second, "081545");
    Press(dialog.first.hwnd, VK_RETURN);
    EXPECT_EQ(dialog.result.GetText(), "04:14:15");

    dialog.result.SetZeit(ZeitWert(), "");
    Press(dialog.second.hwnd, VK_RETURN);
    EXPECT_EQ(dialog.result.GetText(), "04:14:15");
    EXPECT_FALSE(dialog.Ended());
}

TEST_F(RechnerDlg, ResultWithAMouseSelectionShowsTheNewDifference) {
    Enter(dialog.first, "123000");
    Enter(dialog.second, "081545");
    Press(dialog.second.hwnd, VK_RETURN);
    SendMessageW(dialog.result.hwnd, EM_SETSEL, 0, 3); // kept when the field has no focus
    Enter(dialog.second, "\x24"
                         "1"); // Home, then 1: 18:15:45
    Press(dialog.second.hwnd, VK_RETURN);
    EXPECT_EQ(dialog.result.GetText(), "05:45:45"); // the selection gave way
    ClearClipboard();
    dialog.OnToClipboard();
    EXPECT_EQ(ClipboardText(), "05:45:45");
}

TEST_F(RechnerDlg, APasteOverASelectionIsComputedWith) {
    Enter(dialog.first, "083000");
    Enter(dialog.second, "120000");
    ASSERT_TRUE(PutClipboardText("10:00:00"));
    SetFocus(dialog.first.hwnd);
    SendMessageW(dialog.first.hwnd, EM_SETSEL, 0, -1);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Press(dialog.first.hwnd, 'V'); // Ctrl+V
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(dialog.first.GetText(), "10:00:00");
    Press(dialog.first.hwnd, VK_RETURN);
    EXPECT_EQ(dialog.result.GetText(), "02:00:00");
}

TEST_F(RechnerDlg, DigitsTypedIntoTheResultAreExportedUntilTheNextDifference) {
    Enter(dialog.result, "010203");
    ClearClipboard();
    dialog.OnToClipboard();
    EXPECT_EQ(ClipboardText(), "01:02:03");
    Enter(dialog.first, "020000");
    Enter(dialog.second, "010000");
    Press(dialog.second.hwnd, VK_RETURN);
    EXPECT_EQ(dialog.result.GetText(), "01:00:00");
}

TEST_F(RechnerDlg, OkAndCancelEndTheDialog) {
    SendMessageW(dialog.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.Ended());
    CRechnerDlg other;
    ASSERT_TRUE(other.Create(nullptr));
    SendMessageW(other.hwnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(other.Ended());
}

} // namespace
