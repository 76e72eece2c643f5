// The configuration tool's window in this process, its slider dragged with
// the mouse as the platform's trackbar takes it: Label1 and the indicator's
// interval follow every value the trackbar reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/config_window.h"
#include "tests/wine/ui/pump.h"
#include "ui/backend.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace {

using bv::ui::win32::pump;

struct Step {
    int value;
    LRESULT reported;  // the trackbar's own position at that moment
    std::string label;
    int interval;
};

TEST(SpeedSlider, OneDragFrom1000To10000IsFollowedAtEveryStep) {
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "speed_drag_test");
    bv::config::ConfigWindow tool(app);
    tool.form.load();
    tool.form.show();
    pump(platform, 200);
    auto* peer = static_cast<bv::ui::win32::Win32Form*>(bv::ui::BackEnd::peer(tool.form));
    HWND bar = peer->controlWindow(tool.Slider1);
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
    pump(platform, 50);
    for (; x < client.right + 20; x += 9) {
        PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, at(x));
        pump(platform, 20);
    }
    PostMessageW(bar, WM_LBUTTONUP, 0, at(x));
    pump(platform, 100);

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
