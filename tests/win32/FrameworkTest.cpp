// The framework layer: window binding on the subclass chain, the modal loop, table rows.
#include "Harness.h"

#include "framework/Dialog.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace {

// What a subclasser of its own on the common controls' chain saw.
struct Watcher {
    UINT last = 0;
    bool ncDestroy = false;
};

LRESULT CALLBACK Watch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                       DWORD_PTR data) {
    Watcher* seen = reinterpret_cast<Watcher*>(data);
    seen->last = msg;
    if (msg == WM_NCDESTROY) {
        seen->ncDestroy = true;
        RemoveWindowSubclass(window, Watch, id);
    }
    return DefSubclassProc(window, msg, wParam, lParam);
}

TEST(Framework, ASubclasserAfterTheBindingSeesEveryMessage) {
    for (const bool objectFirst : {true, false}) {
        HWND edit = CreateWindowExW(0, L"EDIT", L"12:30:00", WS_POPUP, 0, 0, 80, 20, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        Watcher seen;
        {
            CWindow object;
            ASSERT_TRUE(object.Subclass(edit));
            CWindow second; // one object to a window
            EXPECT_FALSE(second.Subclass(edit));
            ASSERT_TRUE(SetWindowSubclass(edit, Watch, 1, reinterpret_cast<DWORD_PTR>(&seen)));
            if (!objectFirst) DestroyWindow(edit);
        }
        if (objectFirst) {
            SendMessageW(edit, EM_SETSEL, 1, 3);
            EXPECT_EQ(seen.last, UINT(EM_SETSEL));
            EXPECT_EQ(SelEnd(edit), 3u); // still the edit control's own procedure behind
            DestroyWindow(edit);
        }
        EXPECT_TRUE(seen.ncDestroy) << (objectFirst ? "object first" : "window first");
    }
}

// A dialog of the framework's own on the info box's template, with rows of its own.
struct CProbe : CDialog {
    bool withTips = false;
    int commands = 0;
    std::atomic<HWND> shown{nullptr};

    CProbe() : CDialog(IDD_INFO) {}
    bool OnInitDialog() override {
        if (withTips) EnableToolTips();
        shown = hwnd;
        return CDialog::OnInitDialog();
    }
    void OnProbe() { ++commands; }
    LRESULT OnDestroy(WPARAM, LPARAM) { return 0; } // keeps WM_DESTROY to itself
    bool OnCustomDraw(NMHDR*, LRESULT& result) {
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    }

    MESSAGE_TABLE(CProbe, CDialog)
};
const UINT probeCommand = 4711;
const MessageEntry<CProbe> CProbe::messageTable[] = {
    Command(probeCommand, &CProbe::OnProbe),
    Message(WM_DESTROY, &CProbe::OnDestroy),
    Notify(NM_CUSTOMDRAW, &CProbe::OnCustomDraw),
    TableEnd<CProbe>(),
};

TEST(Framework, ADerivedDestroyRowLeavesNoToolTipBehind) {
    const int before = ThreadWindows(TOOLTIPS_CLASSW);
    {
        CProbe probe;
        probe.withTips = true;
        ASSERT_TRUE(probe.Create(nullptr));
        EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), before + 1);
        DestroyWindow(probe.hwnd); // as the modal loop does, while the object is whole
    }
    EXPECT_EQ(ThreadWindows(TOOLTIPS_CLASSW), before);
}

TEST(Framework, CommandRowsTakeMenuAcceleratorAndButtonOnly) {
    CProbe probe;
    ASSERT_TRUE(probe.Create(nullptr));
    const LPARAM control = reinterpret_cast<LPARAM>(probe.Item(IDOK));
    const struct {
        WORD code;
        LPARAM from;
        int taken;
    } cases[] = {
        {0, 0, 1},                   // menu
        {1, 0, 1},                   // accelerator
        {BN_CLICKED, control, 1},    // button
        {LBN_SELCHANGE, control, 0}, // list or combo box: selection changed
        {LBN_DBLCLK, control, 0},
    };
    for (const auto& c : cases) {
        probe.commands = 0;
        SendMessageW(probe.hwnd, WM_COMMAND, MAKEWPARAM(probeCommand, c.code), c.from);
        EXPECT_EQ(probe.commands, c.taken) << c.code << " from " << c.from;
    }
}

TEST(Framework, NotifyRowsAnswerWithTheirResult) {
    CProbe probe;
    ASSERT_TRUE(probe.Create(nullptr));
    NMCUSTOMDRAW draw = {};
    draw.hdr.hwndFrom = probe.Item(IDOK);
    draw.hdr.idFrom = IDOK;
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageW(probe.hwnd, WM_NOTIFY, IDOK, reinterpret_cast<LPARAM>(&draw)),
              CDRF_NOTIFYITEMDRAW);
}

TEST(Framework, OkSentFromAnotherThreadEndsTheModalLoopAtOnce) {
    CProbe probe;
    std::atomic<bool> ended{false};
    std::atomic<DWORD> sentAt{0};
    std::thread other([&] {
        for (int i = 0; i < 500 && !probe.shown; ++i) Sleep(10);
        sentAt = GetTickCount();
        SendMessageW(probe.shown, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 300 && !ended; ++i) Sleep(10);
        if (!ended) PostMessageW(probe.shown, WM_NULL, 0, 0); // wakes a loop that slept on
    });
    const INT_PTR result = probe.DoModal();
    const DWORD endedAt = GetTickCount();
    ended = true;
    other.join();
    EXPECT_EQ(result, IDOK);
    EXPECT_LT(endedAt - sentAt, 1000u);
}

} // namespace
