// The configuration tool's window in this process, its slider dragged with
// the mouse as the platform's trackbar takes it: Label1 and the indicator's
// interval follow every value the trackbar reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/wine/config/tool_in_process.h"
#include "tests/wine/support/control_window.h"

namespace {

struct Step {
    int value;
    LRESULT reported;  // the trackbar's own position at that moment
    std::string label;
    int interval;
};

TEST(SpeedSlider, OneDragFrom1000To10000IsFollowedAtEveryStep) {
    bv::testing::ToolInProcess inProcess;
    bv::config::ConfigWindow& tool = inProcess.tool;
    HWND bar = bv::testing::controlWindow(tool.form, tool.Slider1);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 1000);

    std::vector<Step> steps;
    const bv::ui::Event handler = tool.Slider1.Scroll;
    tool.Slider1.Scroll = [&] {
        handler();
        steps.push_back({tool.Slider1.value(), SendMessageW(bar, TBM_GETPOS, 0, 0),
                         tool.Label1.caption(), tool.Timer1.interval()});
    };

    RECT thumb{}, client{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    GetClientRect(bar, &client);
    const int y = (thumb.top + thumb.bottom) / 2;
    int x = (thumb.left + thumb.right) / 2;
    auto at = [&](int px) { return MAKELPARAM(px, y); };
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at(x));
    inProcess.pump(50);
    for (; x < client.right + 20; x += 9) {
        PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, at(x));
        inProcess.pump(20);
    }
    PostMessageW(bar, WM_LBUTTONUP, 0, at(x));
    inProcess.pump(100);

    ASSERT_GE(steps.size(), 10u) << "a drag across the track moves through many values";
    int before = 1000;
    for (const Step& s : steps) {
        EXPECT_EQ(s.reported, s.value);
        EXPECT_EQ(s.label, "Speed : " + std::to_string(s.value));
        EXPECT_EQ(s.interval, s.value);
        EXPECT_GT(s.value, before) << "Scroll only when the value changed";
        before = s.value;
    }
    EXPECT_EQ(steps.back().value, 10000);
    EXPECT_EQ(tool.Label1.caption(), "Speed : 10000");
}

}  // namespace
