// The framework layer: window binding on the subclass chain, the modal loop, table rows.
#include "Harness.h"

#include "framework/Window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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

} // namespace
