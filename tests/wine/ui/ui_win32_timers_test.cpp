// Timers on shown and hidden forms, and going on through the modal loops of
// a message box and a popup menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "automation/message_box.h"
#include "tests/wine/support/message_boxes.h"
#include "tests/wine/ui/ui_win32_fixture.h"

namespace bv::ui::win32::tests {
namespace {

TEST_F(Win32Back, TimersTickOnlyWhileRunningWithAnInterval) {
    int fast = 0, never = 0;
    form->timer("Fast").Tick = [&] { ++fast; };
    form->timer("Never").Tick = [&] { ++never; };
    pump(600);
    EXPECT_GE(fast, 4);
    EXPECT_LE(fast, 14);
    EXPECT_EQ(never, 0);

    form->timer("Fast").setEnabled(false);
    pump(30);
    const int stopped = fast;
    pump(300);
    EXPECT_EQ(fast, stopped);

    // Enabled but without interval it never ticks; an interval starts it.
    form->timer("Fast").setInterval(0);
    form->timer("Fast").setEnabled(true);
    pump(300);
    EXPECT_EQ(fast, stopped);
    form->timer("Never").setInterval(40);
    pump(400);
    EXPECT_GE(never, 3);

    // A hidden form's timers tick too: running from the layout or started.
    Form hidden(app, kTestLayout);
    int laidOut = 0, started = 0;
    hidden.timer("Fast").Tick = [&] { ++laidOut; };
    hidden.timer("Never").Tick = [&] { ++started; };
    hidden.timer("Never").setInterval(40);
    pump(400);
    EXPECT_GE(laidOut, 3);
    EXPECT_GE(started, 3);
    EXPECT_FALSE(IsWindowVisible(formWindow(hidden)));
}

TEST_F(Win32Back, MessageBoxesAreModalAndTimersGoOn) {
    platform.realBoxes = true;
    int ticks = 0;
    form->timer("Fast").Tick = [&] { ++ticks; };
    std::optional<bv::automation::MessageBoxInfo> seen;
    int ticksWhileOpen = 0;
    bool formEnabledWhileOpen = true;
    // Answers the box from inside its own loop, a while after it opened.
    ThreadTimer answerer(400, [&] {
        HWND box = threadWindow(L"#32770");
        if (!box)
            return false;
        seen = bv::automation::readMessageBox(box);
        ticksWhileOpen = ticks;
        formEnabledWhileOpen = IsWindowEnabled(window());
        for (const auto& b : seen->buttons)
            if (b.text.find(L"No") != std::wstring::npos)
                SendMessageW(b.window, BM_CLICK, 0, 0);
        return true;
    });
    const Answer answer = app.msgBox("Do you want to close brenlo vistrel v1.0", Buttons::YesNo,
                                     Icon::Question, "Brenlo Vistrel");
    EXPECT_EQ(answer, Answer::No);
    ASSERT_TRUE(seen.has_value());
    bv::testing::expectMessageBox(*seen, L"Brenlo Vistrel",
                                  L"Do you want to close brenlo vistrel v1.0",
                                  bv::automation::MessageIcon::Question);
    EXPECT_EQ(seen->buttons.size(), 2u);
    EXPECT_NE(seen->defaultButton.find(L"Yes"), std::wstring::npos);
    EXPECT_GE(ticksWhileOpen, 3);
    EXPECT_FALSE(formEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(window()));
}

TEST_F(Win32Back, PopupMenuReturnsTheChosenItem) {
    Form bar(app, kBarLayout);
    bar.show();
    pump(50);
    int ones = 0, twos = 0;
    bar.menuItem("one").Click = [&] { ++ones; };
    bar.menuItem("two").Click = [&] { ++twos; };
    int ticks = 0;
    form->timer("Fast").Tick = [&] { ++ticks; };
    // Keys posted to the menu's own loop a while after it opened: down twice
    // skips the separator to "Two". Timers go on meanwhile.
    HWND w = formWindow(bar);
    {
        ThreadTimer chooser(400, [w] {
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
        EXPECT_EQ(peerOf(bar).popupMenu(MenuPlace::Pointer), 2);
    }
    EXPECT_GE(ticks, 3);
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(peerOf(bar).popupMenu(MenuPlace::Pointer), -1);
    PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
    bar.popupMenu();
    EXPECT_EQ(ones, 1);
    EXPECT_EQ(twos, 0);
}

}  // namespace
}  // namespace bv::ui::win32::tests
