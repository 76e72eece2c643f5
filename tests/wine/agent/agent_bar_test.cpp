// The real agent's bar under Wine: its look, its two drawn buttons under the
// pointer, and the play/pause button over the wallpaper cycle.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "agent/layouts.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "resources/resource_ids.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/support/control_window.h"
#include "ui/app.h"
#include "ui/form.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {
namespace {

TEST_F(AgentMenu, PlayPauseStopsAndRestartsTheCycleWithTheRightGlyphs) {
    ASSERT_TRUE(playPauseShows(102));
    ASSERT_TRUE(ba::waitUntil([] { return !ba::savedWallpaper().empty(); }, 5s));

    ba::leftClickAt(bar, kPlayPause);
    EXPECT_TRUE(playPauseShows(101)) << "the play glyph after pausing";
    Sleep(300);
    const std::wstring paused = ba::savedWallpaper();
    Sleep(2000);  // more than three intervals
    EXPECT_EQ(ba::savedWallpaper(), paused);

    ba::leftClickAt(bar, kPlayPause);
    EXPECT_TRUE(playPauseShows(102)) << "the pause glyph after restarting";
    EXPECT_TRUE(ba::waitUntil([&] { return ba::savedWallpaper() != paused; }, 3s));

    ba::moveMouseTo(bar, kPlayPause);
    EXPECT_TRUE(playPauseShows(104)) << "the hover highlight";
    ba::moveMouseTo(bar, kBackground);
    EXPECT_TRUE(playPauseShows(102));
}

// The bar from the keyboard once it is the active window: Space is the
// play/pause button, Shift+F10 and the context-menu key open the menu at
// the bar whatever the pointer, Esc closes it, Alt+F4 leaves the bar
// running, and a key choice runs the item.
TEST_F(AgentMenu, KeyboardReachesEveryFunctionOfTheActiveBar) {
    ASSERT_TRUE(ba::waitUntil([] { return !ba::savedWallpaper().empty(); }, 5s));
    auto activate = [&] {
        POINT background = kBackground;
        ClientToScreen(bar, &background);
        ba::pointerClick(background);  // a left click there does nothing else
        return ba::waitUntil([&] { return GetForegroundWindow() == bar; }, 3s);
    };
    ASSERT_TRUE(activate());

    ba::pressKey(VK_SPACE);
    EXPECT_TRUE(playPauseShows(101)) << "the play glyph after pausing";
    Sleep(300);
    const std::wstring paused = ba::savedWallpaper();
    Sleep(2000);  // more than three intervals
    EXPECT_EQ(ba::savedWallpaper(), paused);
    ba::pressKey(VK_SPACE);
    EXPECT_TRUE(playPauseShows(102)) << "the pause glyph after resuming";
    EXPECT_TRUE(ba::waitUntil([&] { return ba::savedWallpaper() != paused; }, 3s));

    auto openMenu = [&](std::initializer_list<WORD> keys) {
        ba::pointerTo(POINT{5, 5});  // far from the bar
        ba::pressKeys(keys);
        HWND menu = nullptr;
        ba::waitUntil(
            [&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); }, 5s);
        return menu;
    };
    auto menuClosed = [] {
        return ba::waitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 5s);
    };
    for (const auto keys : {std::initializer_list<WORD>{VK_SHIFT, VK_F10}, {VK_APPS}}) {
        HWND menu = openMenu(keys);
        ASSERT_NE(menu, nullptr);
        // At the bar's corner, or flipped to fit the screen as the platform does.
        POINT corner{};
        ClientToScreen(bar, &corner);
        RECT place{};
        GetWindowRect(menu, &place);
        EXPECT_TRUE(place.left == corner.x || place.right == corner.x) << place.left;
        EXPECT_TRUE(place.top == corner.y || place.bottom == corner.y) << place.top;
        ba::pressKey(VK_ESCAPE);
        ASSERT_TRUE(menuClosed());
        ASSERT_TRUE(activate());
    }

    ba::pressKeys({VK_MENU, VK_F4});
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(agent->running());

    // Last: the about window keeps the activation while it is open.
    ASSERT_TRUE(activate());
    ASSERT_NE(openMenu({VK_SHIFT, VK_F10}), nullptr);
    for (int i = 0; i <= kAbout; ++i)
        ba::pressKey(VK_DOWN);
    ba::pressKey(VK_RETURN);
    ASSERT_TRUE(menuClosed());
    EXPECT_NE(ba::findWindow(L"Form3", 5s), nullptr) << "About, chosen by keys";
}

TEST_F(AgentMenu, BarHasNoTitleBarNoButtonsAndNoMenuBar) {
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetMenu(bar), nullptr);
    // Only the one-pixel border lies around the client area, so there is no
    // room for a title bar. (GetTitleBarInfo cannot tell: Wine 8 reports a
    // visible title bar for any window with WS_BORDER, which is half of
    // WS_CAPTION.)
    RECT outer{}, client{};
    GetWindowRect(bar, &outer);
    GetClientRect(bar, &client);
    EXPECT_EQ(outer.right - outer.left, client.right + 2);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom + 2);
}

// The real pointer moved over the bar. Cursor handles are compared among
// themselves: under Wine each process has handles of its own for the same
// system cursor, so the arrow of this process is not the agent's, and the
// agent's cursors cannot be read from here. Which cursors they are is
// checked in AgentBarOnTheWindowLayer below, in this process.
TEST_F(AgentMenu, BarButtonsShowTheHandPointerAndTheirTooltipsOnHover) {
    SetForegroundWindow(bar);
    auto pointAt = [&](POINT at) {
        ClientToScreen(bar, &at);
        SetCursorPos(at.x, at.y);
    };
    auto cursor = [] {
        CURSORINFO info{};
        info.cbSize = sizeof info;
        GetCursorInfo(&info);
        return info.hCursor;
    };
    // The text of the agent's tooltip window while it is shown. Wine's
    // tooltip answers WM_GETTEXT with the tip it shows; Windows does not
    // promise that, so elsewhere only that a tip is shown counts here, and
    // the tips' texts are checked in AgentBarOnTheWindowLayer.
    const bool textReadable = underWine();
    auto tip = [&]() -> std::optional<std::wstring> {
        for (HWND w : ba::topLevelWindows(agent->id()))
            if (ba::windowClass(w) == L"tooltips_class32" && IsWindowVisible(w))
                return textReadable ? ba::windowText(w) : L"";
        return std::nullopt;
    };
    auto tipShows = [&](const wchar_t* text) {
        const auto shown = tip();
        return shown && (!textReadable || *shown == text);
    };

    pointAt(kBackground);
    Sleep(500);
    const HCURSOR arrow = cursor();
    EXPECT_FALSE(tip());

    pointAt(kMenuButton);
    EXPECT_TRUE(ba::waitUntil([&] { return cursor() != arrow; }, 3s)) << "no other pointer";
    const HCURSOR hand = cursor();
    EXPECT_TRUE(ba::waitUntil([&] { return tipShows(L"Main Menu"); }, 5s)) << tip().value_or(L"");
    Sleep(200);
    ba::saveScreenshot(nullptr, L"agent_bar_tooltip");

    pointAt(kPlayPause);
    EXPECT_TRUE(ba::waitUntil([&] { return tipShows(L"Toggle ON/OFF Anmation"); }, 5s))
        << tip().value_or(L"");
    EXPECT_EQ(cursor(), hand);

    pointAt(kBackground);
    EXPECT_TRUE(ba::waitUntil([&] { return cursor() == arrow; }, 3s));
    EXPECT_TRUE(ba::waitUntil([&] { return !tip(); }, 5s)) << tip().value_or(L"");
    SetCursorPos(0, 0);
}

// The background picture is 177 by 25 pixels, the client area 176 by 24:
// the window shows the picture at its own size from its top-left corner, so
// its last column and row lie under the border, out of sight.
TEST_F(AgentMenu, BackgroundPictureLosesItsLastRowAndColumn) {
    RECT client{};
    GetClientRect(bar, &client);
    ASSERT_EQ(client.right, 176);
    ASSERT_EQ(client.bottom, 24);

    HMODULE file =
        LoadLibraryExW(fromUnix(BV_AGENT_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    ba::Pixels picture;
    {
        ui::win32::PictureCache pictures(file);
        auto background = pictures.resource({ui::PictureType::Bitmap, BV_BMP_BAR});
        ASSERT_EQ(background->width(), 177);
        ASSERT_EQ(background->height(), 25);
        picture = ba::render(177, 25, [&](HDC dc) {
            const RECT all{0, 0, 177, 25};
            background->draw(dc, all);
        });
    }
    FreeLibrary(file);

    RECT shown = client;
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    const ba::Pixels screen = ba::captureScreen(shown);
    int differ = 0;
    for (LONG y = 0; y < 24; ++y)
        for (LONG x = 0; x < 176; ++x) {
            const bool onButton = y >= 4 && y < 17 && ((x >= 112 && x < 139) || x >= 144);
            if (!onButton && screen.at(x, y) != picture.at(x, y))
                ++differ;
        }
    EXPECT_EQ(differ, 0) << "pixels of the client area unlike the picture's";
}

std::wstring wallpaperPath(int n) {
    return L"C:\\WINDOWS\\b_kelvo\\wallpapers\\" + std::to_wstring(n) + L".bmp";
}

// A wallpaper timer of 300 ms, for tests that wait for many ticks.
class AgentCyclingFast : public AgentMenu {
  protected:
    void prepare() override { installNormal("300"); }

    // Text1, the hidden text box into which the wallpaper tick writes its counter.
    HWND counterBox() const {
        for (const auto& c : ba::childControls(bar))
            if (_wcsicmp(c.className.c_str(), L"Edit") == 0)
                return c.window;
        return nullptr;
    }

    // What the menu button shows now, in one capture.
    ba::Pixels menuButton() const {
        RECT r = kMenuButtonRect;
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return ba::captureScreen(r);
    }
};

// Through the play/pause button itself: the cycle goes on where it stood.
// Text1 shows the counter that each wallpaper tick sets (0 on the tick
// that only resets), so every tick can be told apart.
TEST_F(AgentCyclingFast, PlayPauseButtonResumesTheCycleWhereItStood) {
    HWND counter = counterBox();
    ASSERT_NE(counter, nullptr);
    auto counterLeaves = [&](const std::wstring& value) {
        return ba::waitUntil([&] { return ba::windowText(counter) != value; }, 3s, 5ms);
    };
    // Paused on the tick that wrote `value` and showed bitmap `shown`, then
    // resumed after more than two intervals.
    auto pauseAndResumeOn = [&](const std::wstring& value, int shown) {
        ASSERT_TRUE(ba::waitUntil([&] { return ba::windowText(counter) == value; }, 15s, 5ms));
        // Posted messages come before the next tick's WM_TIMER.
        ba::leftClickAt(bar, kPlayPause);
        ASSERT_TRUE(playPauseShows(101));
        Sleep(800);
        EXPECT_EQ(ba::windowText(counter), value);
        EXPECT_EQ(ba::savedWallpaper(), wallpaperPath(shown));
        ba::leftClickAt(bar, kPlayPause);
    };

    // Paused after 4.bmp: the next wallpaper is 5.bmp.
    ASSERT_NO_FATAL_FAILURE(pauseAndResumeOn(L"4", 4));
    ASSERT_TRUE(counterLeaves(L"4"));
    EXPECT_EQ(ba::windowText(counter), L"5");
    EXPECT_EQ(ba::savedWallpaper(), wallpaperPath(5));

    // Paused on 10.bmp: one tick that only resets, then 1.bmp.
    ASSERT_NO_FATAL_FAILURE(pauseAndResumeOn(L"10", 10));
    ASSERT_TRUE(counterLeaves(L"10"));
    EXPECT_EQ(ba::windowText(counter), L"0");
    EXPECT_EQ(ba::savedWallpaper(), wallpaperPath(10));
    ASSERT_TRUE(counterLeaves(L"0"));
    EXPECT_EQ(ba::windowText(counter), L"1");
    EXPECT_EQ(ba::savedWallpaper(), wallpaperPath(1));
}

// The menu button on the real window, sampled every few milliseconds over
// two whole lit spans while the wallpaper timer ticks every 300 ms, and is
// paused after the first: lit for one 500 ms tick, dim for the seven after.
TEST_F(AgentCyclingFast, MenuButtonLightsForOneTickInEightWhateverTheWallpaperTimerDoes) {
    const ba::Pixels lit = buttonBitmap(104), dim = buttonBitmap(103);
    struct Span {
        DWORD from, to;
    };
    std::vector<Span> litSpans;  // each begun after a dim capture
    bool open = false, seenDim = false;
    int closed = 0, others = 0, othersInARow = 0;
    const DWORD start = GetTickCount();
    for (DWORD now = start; closed < 2 && now - start < 10000; now = GetTickCount()) {
        const ba::Pixels shown = menuButton();
        const bool isLit = shown.rgb == lit.rgb, isDim = shown.rgb == dim.rgb;
        // A capture may catch the button while it is being drawn; a picture
        // that is neither stays for two captures in a row to count.
        othersInARow = isLit || isDim ? 0 : othersInARow + 1;
        if (othersInARow == 2)
            ++others;
        if (isLit && !open && seenDim) {
            litSpans.push_back({now, now});
            open = true;
        }
        if (isLit && open)
            litSpans.back().to = now;
        if (isDim && open) {
            open = false;
            if (++closed == 1)
                ba::leftClickAt(bar, kPlayPause);  // the wallpaper timer stops
        }
        seenDim = seenDim || isDim;
        Sleep(5);
    }
    EXPECT_EQ(others, 0) << "pictures other than the dim and the lit button";
    ASSERT_EQ(closed, 2) << "two whole lit spans within 10 s";
    for (std::size_t i = 0; i < litSpans.size(); ++i) {
        const DWORD lasted = litSpans[i].to - litSpans[i].from;
        EXPECT_GE(lasted, 300u) << "lit span " << i;
        EXPECT_LE(lasted, 700u) << "lit span " << i;
    }
    const DWORD period = litSpans[1].from - litSpans[0].from;
    EXPECT_GE(period, 3600u);
    EXPECT_LE(period, 4400u);
}

// The agent's bar window made in this process, from its layout and with its
// resources (linked into this test), on the Win32 back end: which tips its
// buttons register and which pointer each place asks for. These are read
// here the same way on Windows and under Wine.
TEST(AgentBarOnTheWindowLayer, ButtonsCarryTheirTipsAndTheHandPointer) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo");
    ui::Form bar(app, agent::kAgentBarLayout);
    bar.show();
    HWND window = formWindow(bar);
    ASSERT_NE(window, nullptr);
    ba::waitUntil([] { return false; }, 100ms);  // let it show
    // The drawn buttons' tips are made when the mouse first comes over the bar.
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));

    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM found) CALLBACK -> BOOL {
            if (ba::windowClass(w) == L"tooltips_class32")
                *reinterpret_cast<HWND*>(found) = w;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    std::map<std::wstring, RECT> tools;
    const auto count = SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.lpszText = text;
        if (SendMessageW(tips, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&info)))
            tools[text] = info.rect;
    }
    ASSERT_EQ(tools.size(), 2u);
    // Laid out at a top of 120 twips: start-up has not moved them here.
    const RECT menuButton{112, 8, 139, 21}, playPause{144, 8, 171, 21};
    ASSERT_TRUE(tools.count(L"Main Menu"));
    ASSERT_TRUE(tools.count(L"Toggle ON/OFF Anmation"));
    EXPECT_TRUE(EqualRect(&tools[L"Main Menu"], &menuButton));
    EXPECT_TRUE(EqualRect(&tools[L"Toggle ON/OFF Anmation"], &playPause));

    auto pointerAt = [&](POINT at) {
        ClientToScreen(window, &at);
        SetCursorPos(at.x, at.y);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    ASSERT_NE(platform.handCursor(), nullptr);
    EXPECT_EQ(pointerAt({125, 14}), platform.handCursor());
    EXPECT_EQ(pointerAt({157, 14}), platform.handCursor());
    EXPECT_EQ(pointerAt(kBackground), LoadCursorW(nullptr, IDC_ARROW));
    // The hand is the agent's own pointer, not the system's.
    EXPECT_EQ(platform.handCursor(),
              LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(BV_CURSOR_HAND)));
    SetCursorPos(0, 0);
}

}  // namespace
}  // namespace bv::testing
