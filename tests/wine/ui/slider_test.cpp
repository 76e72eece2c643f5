// The window layer's slider against the platform's own trackbar: each slider
// of the layout below gets a trackbar of the same size, range and value
// beside it, and the two must measure, look and answer the keyboard and the
// mouse alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/input.h"
#include "automation/pixels.h"
#include "automation/wait.h"
#include "pump.h"
#include "ui/app.h"
#include "ui/backend.h"
#include "ui/controls/frame.h"
#include "ui/controls/slider.h"
#include "ui/form.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace {

using namespace bv::ui;
using bv::ui::win32::Win32Platform;
namespace ba = bv::automation;

// The tool's speed slider, the agent's position sliders, and two more: one
// whose ticks show, one thinner than a whole thumb.
constexpr ControlSpec kSliders[] = {
    {.kind = Kind::Frame, .name = "Ours", .left = 0, .top = 0, .width = 4200, .height = 3000},
    {.kind = Kind::Slider,
     .name = "Speed",
     .container = "Ours",
     .left = 120,
     .top = 120,
     .width = 3855,
     .height = 615,
     .tabIndex = 1,
     .min = 1000,
     .max = 10000,
     .value = 1000,
     .largeChange = 5,
     .ticks = false},
    {.kind = Kind::Slider,
     .name = "Top",
     .container = "Ours",
     .left = 120,
     .top = 900,
     .width = 3375,
     .height = 375,
     .tabIndex = 2,
     .min = 1000,
     .max = 10000,
     .value = 5000},
    {.kind = Kind::Slider,
     .name = "Few",
     .container = "Ours",
     .left = 120,
     .top = 1500,
     .width = 2400,
     .height = 450,
     .tabIndex = 3,
     .min = 0,
     .max = 10,
     .value = 5},
    {.kind = Kind::Slider,
     .name = "Thin",
     .container = "Ours",
     .left = 120,
     .top = 2200,
     .width = 1500,
     .height = 225,
     .tabIndex = 4,
     .min = -3,
     .max = 40,
     .value = 7,
     .ticks = false},
};

constexpr FormSpec kLayout = {
    .name = "Form1",
    .caption = "Sliders",
    .border = Border::FixedDialog,
    .clientWidth = 8400,
    .clientHeight = 3000,
    .placement = Placement::CenterScreen,
    .controls = kSliders,
};

class SliderTest : public ::testing::Test {
  protected:
    Win32Platform platform;
    App app{platform, "Slider test"};
    std::unique_ptr<Form> form = std::make_unique<Form>(app, kLayout);

    struct Pair {
        Slider* model;
        HWND ours, theirs;
        int scrolls = 0;
    };
    std::vector<Pair> pairs;

    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&classes));
        form->show();
        auto& peer = dynamic_cast<win32::Win32Form&>(*BackEnd::peer(*form));
        // The platform's trackbars stand in a frame-coloured area to the right.
        for (const char* name : {"Speed", "Top", "Few", "Thin"}) {
            Slider& slider = form->slider(name);
            HWND ours = peer.controlWindow(slider);
            RECT r{};
            GetWindowRect(ours, &r);
            MapWindowPoints(nullptr, peer.hwnd(), reinterpret_cast<POINT*>(&r), 2);
            const DWORD ticks = slider.spec().ticks ? TBS_AUTOTICKS : TBS_NOTICKS;
            HWND theirs = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | ticks,
                                          r.left + 280, r.top, r.right - r.left, r.bottom - r.top,
                                          peer.hwnd(), nullptr, nullptr, nullptr);
            ASSERT_NE(theirs, nullptr);
            SendMessageW(theirs, TBM_SETRANGEMIN, FALSE, slider.min());
            SendMessageW(theirs, TBM_SETRANGEMAX, FALSE, slider.max());
            SendMessageW(theirs, TBM_SETPAGESIZE, 0, slider.spec().largeChange);
            if (slider.spec().ticks)
                SendMessageW(theirs, TBM_SETTICFREQ, 1, 0);
            SendMessageW(theirs, TBM_SETPOS, TRUE, slider.value());
            pairs.push_back({&slider, ours, theirs});
        }
        for (Pair& p : pairs)
            p.model->Scroll = [&p] { ++p.scrolls; };
        SetForegroundWindow(peer.hwnd());
        ba::pointerTo(POINT{0, 0});  // over no thumb
        pump(200);
    }

    void pump(DWORD ms) { bv::ui::win32::pump(platform, ms); }

    static int position(HWND bar) { return static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0)); }
    static RECT rectOf(HWND bar, UINT message) {
        RECT r{};
        SendMessageW(bar, message, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    ba::Pixels shot(HWND bar) {
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pump(50);  // until the X server has the pixels
        RECT r{};
        GetWindowRect(bar, &r);
        return ba::captureScreen(r);
    }
    // Empty when alike, else how many pixels differ and the first of them.
    static std::string difference(const ba::Pixels& a, const ba::Pixels& b) {
        if (a.width != b.width || a.height != b.height)
            return "sizes differ";
        int count = 0;
        std::string first;
        for (LONG y = 0; y < a.height; ++y)
            for (LONG x = 0; x < a.width; ++x)
                if (a.at(x, y) != b.at(x, y) && count++ == 0)
                    first = " first at (" + std::to_string(x) + ", " + std::to_string(y) +
                            "): " + std::to_string(a.at(x, y)) + " not " +
                            std::to_string(b.at(x, y));
        return count ? std::to_string(count) + " pixels differ," + first : "";
    }
    static POINT screenPoint(HWND bar, int x, int y) {
        POINT at{x, y};
        ClientToScreen(bar, &at);
        return at;
    }
    void button(DWORD flag) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flag;
        SendInput(1, &in, sizeof in);
        pump(60);
    }
    void key(HWND bar, WORD virtualKey) {
        SetFocus(bar);
        ba::pressKey(virtualKey);
        pump(60);
    }
};

TEST_F(SliderTest, MeasuresAndLooksAsTheTrackbarAtEveryValueFocusedOrNot) {
    // Keyboard cues on, so that the focus rectangle shows.
    SendMessageW(GetAncestor(pairs[0].ours, GA_ROOT), WM_CHANGEUISTATE,
                 MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(GetAncestor(pairs[0].ours, GA_ROOT));
    for (Pair& p : pairs) {
        const int min = p.model->min(), max = p.model->max();
        for (int value : {min, min + 1, (min + max) / 2, max - 3, max}) {
            p.model->setValue(value);
            SendMessageW(p.theirs, TBM_SETPOS, TRUE, value);
            const std::string what = std::string(p.model->name()) + " at " + std::to_string(value);
            const RECT c1 = rectOf(p.ours, TBM_GETCHANNELRECT),
                       c2 = rectOf(p.theirs, TBM_GETCHANNELRECT);
            EXPECT_TRUE(EqualRect(&c1, &c2)) << what;
            const RECT t1 = rectOf(p.ours, TBM_GETTHUMBRECT),
                       t2 = rectOf(p.theirs, TBM_GETTHUMBRECT);
            EXPECT_TRUE(EqualRect(&t1, &t2))
                << what << ": thumb at " << t1.left << " not " << t2.left;
            EXPECT_EQ(difference(shot(p.ours), shot(p.theirs)), "") << what;
        }
        SetFocus(p.ours);
        pump(50);
        const ba::Pixels focusedOurs = shot(p.ours);
        SetFocus(p.theirs);
        pump(50);
        EXPECT_EQ(difference(focusedOurs, shot(p.theirs)), "") << p.model->name() << " focused";
        SetFocus(GetAncestor(p.ours, GA_ROOT));
    }
    EXPECT_EQ(pairs[0].scrolls + pairs[1].scrolls + pairs[2].scrolls + pairs[3].scrolls, 0)
        << "a value set by a handler raises no Scroll";
}

TEST_F(SliderTest, KeysAndMouseMoveItAsTheyMoveTheTrackbar) {
    for (Pair& p : pairs) {
        const std::string name = p.model->name();
        for (WORD k : {VK_RIGHT, VK_DOWN, VK_NEXT, VK_LEFT, VK_PRIOR, VK_PRIOR, VK_END, VK_UP,
                       VK_HOME, VK_NEXT}) {
            key(p.ours, k);
            key(p.theirs, k);
            EXPECT_EQ(position(p.ours), position(p.theirs)) << name << " after key " << k;
        }
        EXPECT_EQ(p.model->value(), position(p.ours)) << name;

        // A click beside the thumb pages once toward the pointer. (Posted
        // without moves: Wine's trackbar pages again on every move while
        // the button is held; ours, like Windows', repeats on a timer.)
        for (HWND bar : {p.ours, p.theirs}) {
            const RECT channel = rectOf(bar, TBM_GETCHANNELRECT);
            const LPARAM at = MAKELPARAM(channel.right - 2, channel.top + 1);
            PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(bar, WM_LBUTTONUP, 0, at);
            pump(60);
        }
        EXPECT_EQ(position(p.ours), position(p.theirs)) << name << " after a click on the track";

        // Dragging the thumb two thirds of the way.
        for (HWND bar : {p.ours, p.theirs}) {
            const RECT thumb = rectOf(bar, TBM_GETTHUMBRECT);
            const RECT channel = rectOf(bar, TBM_GETCHANNELRECT);
            const int y = (thumb.top + thumb.bottom) / 2;
            ba::pointerTo(screenPoint(bar, thumb.left + 2, y));
            button(MOUSEEVENTF_LEFTDOWN);
            ba::pointerTo(
                screenPoint(bar, channel.left + (channel.right - channel.left) * 2 / 3, y));
            pump(60);
            button(MOUSEEVENTF_LEFTUP);
        }
        EXPECT_EQ(position(p.ours), position(p.theirs)) << name << " dragged";
        EXPECT_EQ(p.model->value(), position(p.ours)) << name;
    }
}

TEST_F(SliderTest, ScrollComesOncePerChangeOfTheUsersAndNeverBeyondTheRange) {
    Pair& p = pairs[2];  // 0 to 10, at 5
    key(p.ours, VK_NEXT);
    EXPECT_EQ(p.model->value(), 10);
    EXPECT_EQ(p.scrolls, 1);
    key(p.ours, VK_NEXT);  // already at the end: no change, no Scroll
    key(p.ours, VK_RIGHT);
    EXPECT_EQ(p.scrolls, 1);
    key(p.ours, VK_HOME);
    EXPECT_EQ(p.model->value(), 0);
    EXPECT_EQ(p.scrolls, 2);

    // Held on the track, it pages again and again until the thumb reaches
    // the pointer, and stops there.
    const RECT channel = rectOf(p.ours, TBM_GETCHANNELRECT);
    ba::pointerTo(screenPoint(p.ours, channel.right - 1, channel.top + 1));
    button(MOUSEEVENTF_LEFTDOWN);
    pump(1200);
    button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(p.model->value(), 10);
    EXPECT_EQ(p.scrolls, 4);
    EXPECT_EQ(GetFocus(), p.ours) << "a click takes the focus";
}

}  // namespace
