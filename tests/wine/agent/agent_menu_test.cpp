// The real agent's buttons, popup menu, settings window and about window,
// driven under Wine as a user would.
#include <string>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/pixels.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "tests/wine/agent/agent_session.h"

namespace bv::testing {
namespace {

// Client points of the bar: the background and the two buttons (after
// start-up has moved them up to 62 twips).
constexpr POINT kBackground{50, 12};
constexpr POINT kMenuButton{125, 10};
constexpr POINT kPlayPause{157, 10};
constexpr RECT kPlayPauseRect{144, 4, 171, 17};

// Keyboard positions in the menu: the separator is skipped.
enum MenuItem { kSettings = 0, kPosition = 1, kAbout = 2, kExit = 3 };

class AgentMenu : public AgentSession {
  protected:
    void SetUp() override {
        AgentSession::SetUp();
        installNormal("600");
        putStandInTool();
        startAgent();
        bar = waitForBar();
        ASSERT_NE(bar, nullptr);
    }

    HWND openMenuWith(POINT at, bool right) {
        POINT screen = at;  // the menu opens at the pointer: put it where the click is
        ClientToScreen(bar, &screen);
        SetCursorPos(screen.x, screen.y);
        right ? ba::rightClickAt(bar, at) : ba::leftClickAt(bar, at);
        HWND menu = nullptr;
        ba::waitUntil(
            [&] {
                menu = FindWindowW(L"#32768", nullptr);
                return menu && IsWindowVisible(menu);
            },
            5s);
        return menu;
    }

    void choose(MenuItem item, bool fromBackground = true) {
        HWND menu = openMenuWith(fromBackground ? kBackground : kMenuButton, fromBackground);
        ASSERT_NE(menu, nullptr) << "the popup menu did not open";
        for (int i = 0; i <= item; ++i)
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_TRUE(
            ba::waitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 5s));
    }

    // The pixels of one of the agent's button bitmaps, from its program file.
    ba::Pixels buttonBitmap(int resource) const {
        HMODULE file =
            LoadLibraryExW(fromUnix(BV_AGENT_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(file, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ba::Pixels out;
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        out.width = info.bmWidth;
        out.height = info.bmHeight;
        BITMAPINFO bi{};
        bi.bmiHeader = {
            sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        out.rgb.resize(static_cast<std::size_t>(out.width * out.height));
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), out.rgb.data(), &bi,
                  DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        for (auto& p : out.rgb)
            p &= 0xFFFFFF;
        DeleteObject(bitmap);
        FreeLibrary(file);
        return out;
    }

    bool playPauseShows(int resource) const {
        return ba::waitUntil(
            [&] {
                RECT r = kPlayPauseRect;
                MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
                return ba::captureScreen(r).rgb == buttonBitmap(resource).rgb;
            },
            3s);
    }

    // The control that has the keyboard focus in the window's thread.
    static HWND focusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }

    HWND bar = nullptr;
};

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

TEST_F(AgentMenu, MenuOpensFromTheBackgroundAndTheMenuButton) {
    HWND menu = openMenuWith(kBackground, true);
    ASSERT_NE(menu, nullptr);
    Sleep(300);  // let it paint
    RECT around{};
    GetWindowRect(bar, &around);
    InflateRect(&around, 160, 120);
    RECT menuRect{}, both{};
    GetWindowRect(menu, &menuRect);
    EXPECT_TRUE(IntersectRect(&both, &around, &menuRect))
        << "the menu opens at the pointer, by the bar";
    ba::saveScreenshot(nullptr, L"agent_menu_open");
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(
        ba::waitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 5s));

    ba::leftClickAt(bar, kBackground);  // a left click on the background does nothing
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"#32768", nullptr)));

    menu = openMenuWith(kMenuButton, false);
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(AgentMenu, SettingsItemStartsTheToolMinimized) {
    choose(kSettings);
    EXPECT_EQ(toolStartedWith(10s), SW_SHOWMINIMIZED);
}

TEST_F(AgentMenu, SettingsSliderMovesTheBarAndOkSavesThePlace) {
    choose(kPosition, false);
    HWND settings = ba::findWindow(L"Vistrel Agent - Settings", 5s);
    ASSERT_NE(settings, nullptr);
    Sleep(300);  // let it paint
    ba::saveScreenshot(settings, L"agent_settings");
    choose(kPosition);  // a second time: still one window
    int count = 0;
    for (HWND w : ba::topLevelWindows(agent->id()))
        if (IsWindowVisible(w) && ba::windowText(w) == L"Vistrel Agent - Settings")
            ++count;
    EXPECT_EQ(count, 1);

    std::vector<HWND> sliders;
    for (const auto& c : ba::childControls(settings))
        if (c.className == L"msctls_trackbar32")
            sliders.push_back(c.window);
    ASSERT_EQ(sliders.size(), 2u);
    // The top slider: Home takes it to its minimum, 1000 twips.
    HWND top = sliders[0];
    RECT r0{}, r1{};
    GetWindowRect(top, &r0);
    GetWindowRect(sliders[1], &r1);
    if (r1.top < r0.top)
        top = sliders[1];
    EXPECT_EQ(focusOf(settings), top) << "the window opens with the focus on the top slider";
    PostMessageW(top, WM_KEYDOWN, VK_HOME, 0);
    PostMessageW(top, WM_KEYUP, VK_HOME, 0);
    RECT barRect{};
    EXPECT_TRUE(ba::waitUntil(
        [&] {
            GetWindowRect(bar, &barRect);
            return barRect.top == 67 || barRect.top == 66;
        },
        5s))
        << "bar top " << barRect.top;
    EXPECT_EQ(barRect.left, 842);

    ba::Control ok = ba::findControl(settings, L"Button", L"&Ok");
    ASSERT_NE(ok.window, nullptr);
    ba::click(ok.window);
    ASSERT_TRUE(
        ba::waitUntil([&] { return !IsWindow(settings) || !IsWindowVisible(settings); }, 5s));
    EXPECT_EQ(note::readNote(paths::topNote()), "1000");
    EXPECT_EQ(note::readNote(paths::leftNote()), "12630");
}

TEST_F(AgentMenu, AboutWindowIsSingleAndTakesTheActivationBack) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    Sleep(300);  // let it paint
    ba::saveScreenshot(about, L"agent_about");
    choose(kAbout);
    int count = 0;
    for (HWND w : ba::topLevelWindows(agent->id()))
        if (IsWindowVisible(w) && ba::windowText(w) == L"Form3")
            ++count;
    EXPECT_EQ(count, 1);

    SetForegroundWindow(bar);  // the user clicks the bar
    EXPECT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == about; }, 5s));

    ba::Control accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_NE(accept.window, nullptr);
    EXPECT_EQ(focusOf(about), accept.window) << "the window opens with the focus on A&ccept";
    // Alt+C, as the keyboard delivers it to the focused control.
    PostMessageW(focusOf(about), WM_SYSCHAR, L'c', LPARAM{1} << 29);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_TRUE(agent->running());
}

TEST_F(AgentMenu, ExitAsksAndEndsOnlyOnYes) {
    choose(kExit);
    auto box = ba::waitForMessageBox(agent->id(), 5s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->prompt, L"Do you want to close brenlo vistrel v1.0");
    EXPECT_EQ(box->title, L"Brenlo Vistrel");
    EXPECT_EQ(box->icon, ba::MessageIcon::None);
    ASSERT_TRUE(ba::answerMessageBox(*box, L"No"));
    Sleep(500);
    EXPECT_TRUE(agent->running());

    choose(kExit);
    box = ba::waitForMessageBox(agent->id(), 5s);
    ASSERT_TRUE(box);
    ASSERT_TRUE(ba::answerMessageBox(*box, L"Yes"));
    EXPECT_TRUE(agent->waitForExit(5s).has_value());
}

}  // namespace
}  // namespace bv::testing
