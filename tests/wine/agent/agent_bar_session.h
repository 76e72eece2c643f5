#pragma once
// The real agent started to its bar, and the user's ways into it: the
// pointer on its buttons, its popup menu and the windows the menu opens.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/pixels.h"
#include "tests/wine/agent/agent_session.h"

namespace bv::testing {

// Client points of the bar: the background and the two buttons (after
// start-up has moved them up to 62 twips).
inline constexpr POINT kBackground{50, 12};
inline constexpr POINT kMenuButton{125, 10};
inline constexpr POINT kPlayPause{157, 10};
inline constexpr RECT kPlayPauseRect{144, 4, 171, 17};
inline constexpr RECT kMenuButtonRect{112, 4, 139, 17};

// Keyboard positions in the menu: the separator is skipped.
enum MenuItem { kSettings = 0, kPosition = 1, kAbout = 2, kExit = 3 };

using automation::focusOf;

class AgentMenu : public AgentSession {
  protected:
    void SetUp() override {
        AgentSession::SetUp();
        prepare();
        putStandInTool();
        startBar();
    }
    // The data store that the agent starts on.
    virtual void prepare() { installNormal("600"); }

    void startBar() {
        startAgent();
        bar = waitForBar();
        ASSERT_NE(bar, nullptr);
    }
    // Ends the agent at once and starts it again, as the next log-on would.
    void restart() {
        agent->kill();
        agent.reset();
        startBar();
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

    // A key pressed on the control that has the focus, as the keyboard
    // delivers it.
    static void pressKey(HWND window, WPARAM key) {
        HWND focus = focusOf(window);
        PostMessageW(focus, WM_KEYDOWN, key, 0);
        PostMessageW(focus, WM_KEYUP, key, 0);
    }

    // The settings window, opened from the menu, and its two sliders.
    struct Settings {
        HWND window = nullptr, top = nullptr, left = nullptr;
    };
    Settings openSettings() {
        choose(kPosition, false);
        Settings s;
        s.window = ba::findWindow(L"Vistrel Agent - Settings", 5s);
        if (!s.window)
            return s;
        std::vector<HWND> sliders;
        for (const auto& c : ba::childControls(s.window))
            if (c.className == TRACKBAR_CLASSW)
                sliders.push_back(c.window);
        if (sliders.size() != 2)
            return s;
        RECT r0{}, r1{};
        GetWindowRect(sliders[0], &r0);
        GetWindowRect(sliders[1], &r1);
        const bool firstOnTop = r0.top < r1.top;
        s.top = firstOnTop ? sliders[0] : sliders[1];
        s.left = firstOnTop ? sliders[1] : sliders[0];
        return s;
    }
    // Home on the top slider: the bar's top edge goes to 1000 twips.
    bool moveBarToTheTop(const Settings& settings) const {
        PostMessageW(settings.top, WM_KEYDOWN, VK_HOME, 0);
        PostMessageW(settings.top, WM_KEYUP, VK_HOME, 0);
        return ba::waitUntil(
            [&] {
                RECT r{};
                GetWindowRect(bar, &r);
                return r.top == 67 || r.top == 66;
            },
            5s);
    }

    // The bar's outer place on the screen, in pixels.
    RECT barPlace() const {
        RECT r{};
        GetWindowRect(bar, &r);
        return r;
    }

    // How many of the agent's visible windows bear this title.
    int visibleWindowsTitled(const wchar_t* title) const {
        int count = 0;
        for (HWND w : ba::topLevelWindows(agent->id()))
            if (IsWindowVisible(w) && ba::windowText(w) == title)
                ++count;
        return count;
    }

    HWND bar = nullptr;
};

}  // namespace bv::testing
