// The real agent's buttons, popup menu, settings window and about window,
// driven under Wine as a user would.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <ole2.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "agent/layouts.h"
#include "automation/controls.h"
#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/pixels.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "common/about_window.h"
#include "datastore/wide.h"
#include "resources/resource_ids.h"
#include "tests/wine/agent/agent_session.h"
#include "tests/wine/support/layout_places.h"
#include "ui/app.h"
#include "ui/backend.h"
#include "ui/win32/fonts.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {
namespace {

// Client points of the bar: the background and the two buttons (after
// start-up has moved them up to 62 twips).
constexpr POINT kBackground{50, 12};
constexpr POINT kMenuButton{125, 10};
constexpr POINT kPlayPause{157, 10};
constexpr RECT kPlayPauseRect{144, 4, 171, 17};
constexpr RECT kMenuButtonRect{112, 4, 139, 17};

// Keyboard positions in the menu: the separator is skipped.
enum MenuItem { kSettings = 0, kPosition = 1, kAbout = 2, kExit = 3 };

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

    // The control that has the keyboard focus in the window's thread.
    static HWND focusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
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

    // Every file of the data directory with its bytes.
    static std::map<std::wstring, std::string> dataFiles() {
        std::map<std::wstring, std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(hostPath(paths::dataDir())))
            if (entry.is_regular_file()) {
                std::ifstream in(entry.path(), std::ios::binary);
                files[entry.path().wstring()] = std::string(std::istreambuf_iterator<char>(in), {});
            }
        return files;
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
        if (c.className == TRACKBAR_CLASSW)
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

std::wstring wallpaperPath(int n) {
    return L"C:\\WINDOWS\\b_kelvo\\wallpapers\\" + std::to_wstring(n) + L".bmp";
}

// A wallpaper timer of 300 ms, for tests that wait for many ticks.
class AgentCyclingFast : public AgentMenu {
  protected:
    void prepare() override { installNormal("300"); }
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

TEST_F(AgentMenu, ExitWithTheSettingsAndAboutWindowsOpenEndsAllAndWritesNothing) {
    const Settings settings = openSettings();
    ASSERT_NE(settings.top, nullptr);
    ASSERT_TRUE(moveBarToTheTop(settings));  // a place not saved
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(IsWindowVisible(settings.window));
    const auto before = dataFiles();

    choose(kExit);
    auto box = ba::waitForMessageBox(agent->id(), 5s);
    ASSERT_TRUE(box);
    ASSERT_TRUE(ba::answerMessageBox(*box, L"Yes"));
    EXPECT_TRUE(agent->waitForExit(5s).has_value());
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindow(settings.window));
    EXPECT_FALSE(IsWindow(about));
    const std::wstring last = ba::savedWallpaper();
    Sleep(1500);  // more than two wallpaper intervals
    EXPECT_EQ(dataFiles(), before);
    EXPECT_FALSE(std::filesystem::exists(hostPath(paths::topNote())));
    EXPECT_EQ(ba::savedWallpaper(), last) << "the wallpaper set last stays";
}

// A place was saved earlier: the settings window's close box after a move
// keeps the new place for this run only.
class AgentWithSavedPlace : public AgentMenu {
  protected:
    void prepare() override {
        installNormal("600");
        std::filesystem::create_directories(hostPath(paths::agentDir()));
        note::writeNote(paths::topNote(), "1200");
        note::writeNote(paths::leftNote(), "9000");
    }
    std::pair<LONG, LONG> corner() const {
        RECT r{};
        GetWindowRect(bar, &r);
        return {r.left, r.top};
    }
};

TEST_F(AgentWithSavedPlace, CloseBoxAfterAMoveLeavesTheSavedPlaceForTheNextStart) {
    ASSERT_EQ(corner(), (std::pair<LONG, LONG>(600, 80)));
    const std::string top = fs::readFile(paths::topNote());
    const std::string left = fs::readFile(paths::leftNote());
    const Settings settings = openSettings();
    ASSERT_NE(settings.top, nullptr);
    ASSERT_TRUE(moveBarToTheTop(settings));

    PostMessageW(settings.window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(settings.window); }, 5s));
    Sleep(300);
    EXPECT_EQ(corner().first, 600);
    EXPECT_TRUE(corner().second == 66 || corner().second == 67) << corner().second;
    EXPECT_EQ(fs::readFile(paths::topNote()), top);
    EXPECT_EQ(fs::readFile(paths::leftNote()), left);

    ASSERT_NO_FATAL_FAILURE(restart());
    EXPECT_EQ(corner(), (std::pair<LONG, LONG>(600, 80)));
}

// Hand-edited notes outside the slider ranges, then "&Ok" at once: the
// values saved lie within the ranges. "2147483647" reads as the single
// 2^31, which no 32-bit whole number of twips holds: the bar refuses it and
// keeps its laid-out top, as "1e10"; "-2147483649" reads as -2^31, which
// it takes.
TEST_F(AgentMenu, SavedValuesAfterAClampLieWithinTheRanges) {
    struct Case {
        const char *top, *left, *savedTop, *savedLeft;
    };
    const Case cases[] = {
        {"2147483647", "9000", "8355", "9000"},
        {"-2147483649", "99999", "1000", "15000"},
        {"1e10", "-300", "8355", "8000"},
    };
    std::filesystem::create_directories(hostPath(paths::agentDir()));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " / " + c.left);
        agent->kill();
        note::writeNote(paths::topNote(), c.top);
        note::writeNote(paths::leftNote(), c.left);
        ASSERT_NO_FATAL_FAILURE(restart());
        const Settings settings = openSettings();
        ASSERT_NE(settings.window, nullptr);
        ba::Control ok = ba::findControl(settings.window, L"Button", L"&Ok");
        ASSERT_NE(ok.window, nullptr);
        ba::click(ok.window);
        ASSERT_TRUE(ba::waitUntil([&] { return !IsWindow(settings.window); }, 5s));
        EXPECT_EQ(note::readNote(paths::topNote()), c.savedTop);
        EXPECT_EQ(note::readNote(paths::leftNote()), c.savedLeft);
        EXPECT_TRUE(agent->running());
        EXPECT_FALSE(ba::waitForMessageBox(agent->id(), 0ms));
    }
}

// The frame's caption, the two labels where the layout puts them, and
// nothing but the frame and "&Ok" on the window: the note boxes lie out of
// sight.
TEST_F(AgentMenu, SettingsWindowShowsOnlyItsFrameLabelsAndOk) {
    choose(kPosition, false);
    HWND settings = ba::findWindow(L"Vistrel Agent - Settings", 5s);
    ASSERT_NE(settings, nullptr);
    Sleep(300);  // let it paint
    auto row = [](const char* name) { return layoutRow(agent::kSettingsWindowLayout, name); };
    RECT client{};
    GetClientRect(settings, &client);
    POINT origin{0, 0};
    ClientToScreen(settings, &origin);
    const ba::Pixels shown =
        ba::captureScreen({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    const std::uint32_t face = ba::toRgb(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t ink = ba::toRgb(GetSysColor(COLOR_WINDOWTEXT));
    ui::win32::FontCache fonts;

    const ui::ControlSpec frame = row("Frame1");
    for (const char* name : {"Label1", "Label2"}) {
        const ui::ControlSpec label = row(name);
        const RECT place = pixelPlace(label, &frame);
        const LONG x = place.left, y = place.top;
        const LONG w = place.right - place.left, h = place.bottom - place.top;
        const ba::Pixels expected =
            ba::renderText(text::widen(label.text), fonts.get(label.font), w, h, ink, face);
        ba::Pixels at;
        at.width = w, at.height = h;
        for (LONG j = 0; j < h; ++j)
            for (LONG i = 0; i < w; ++i)
                at.rgb.push_back(shown.at(x + i, y + j));
        EXPECT_EQ(at.rgb, expected.rgb) << name;
    }
    const ba::Pixels caption =
        ba::inkOf(ba::renderText(L"Position", fonts.get(frame.font), 80, 20, ink, face), face);
    const std::optional<POINT> captionAt = ba::find(shown, caption);
    ASSERT_TRUE(captionAt) << "no \"Position\" caption";
    const RECT frameRect = pixelPlace(frame), okRect = pixelPlace(row("Command2"));
    EXPECT_LE(std::abs(captionAt->x - frameRect.left - 8), 4);
    EXPECT_LE(std::abs(captionAt->y - frameRect.top), 4);

    int stray = 0;
    for (LONG y = 0; y < shown.height; ++y)
        for (LONG x = 0; x < shown.width; ++x) {
            const POINT p{x, y};
            if (!PtInRect(&frameRect, p) && !PtInRect(&okRect, p) && shown.at(x, y) != face)
                ++stray;
        }
    EXPECT_EQ(stray, 0) << "pixels outside the frame and the button";
}

TEST_F(AgentMenu, SettingsWindowTabsFromTopToLeftToOkAndOffersOnlyTheCloseBox) {
    const Settings settings = openSettings();
    ASSERT_NE(settings.top, nullptr);
    ba::Control ok = ba::findControl(settings.window, L"Button", L"&Ok");
    ASSERT_NE(ok.window, nullptr);
    EXPECT_EQ(focusOf(settings.window), settings.top);
    // The two rich text boxes out of sight take no focus of their own here.
    for (HWND next : {settings.left, ok.window, settings.top}) {
        pressKey(settings.window, VK_TAB);
        EXPECT_TRUE(ba::waitUntil([&] { return focusOf(settings.window) == next; }, 3s))
            << "focus on a " << ba::windowClass(focusOf(settings.window));
    }
    const LONG style = GetWindowLongW(settings.window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(AgentMenu, AboutWindowIgnoresEscAndClosesByEnterOnAcceptOrAltCFromElsewhere) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ba::Control accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_NE(accept.window, nullptr);
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(about) == accept.window; }, 3s));

    pressKey(about, VK_ESCAPE);
    PostMessageW(accept.window, WM_CHAR, VK_ESCAPE, 1);
    Sleep(500);
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "Esc closed the window";

    // Alt+C with the focus on the about text.
    pressKey(about, VK_TAB);
    ASSERT_TRUE(ba::waitUntil(
        [&] { return _wcsicmp(ba::windowClass(focusOf(about)).c_str(), L"Edit") == 0; }, 3s));
    PostMessageW(focusOf(about), WM_SYSCHAR, L'c', LPARAM{1} << 29);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));

    // Enter with the focus on "A&ccept".
    choose(kAbout);
    about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(about) == accept.window; }, 3s));
    pressKey(about, VK_RETURN);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_TRUE(agent->running());
}

// Only the agent's own windows count: a window of another program may take
// the activation and keep it while the about window is open.
TEST_F(AgentMenu, AboutWindowLeavesAnotherProgramsWindowInFront) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == about; }, 5s));

    ba::Process other = ba::Process::start(fromUnix(BV_TEST_HELPER), L"msgbox 0 Stranger Hello");
    HWND stranger = ba::findWindow(L"Stranger", 10s);
    ASSERT_NE(stranger, nullptr);
    SetForegroundWindow(stranger);
    ASSERT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == stranger; }, 5s));
    EXPECT_FALSE(ba::waitUntil([&] { return GetForegroundWindow() != stranger; }, 1500ms))
        << "the about window took the activation back";
    EXPECT_TRUE(IsWindowVisible(about));
    auto box = ba::readMessageBox(stranger);
    ASSERT_TRUE(box);
    EXPECT_TRUE(ba::answerMessageBox(*box, L"OK"));
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

// Both copies of the about window opened here, in this process, on the
// window layer the programs are built from.
TEST(AboutWindowCopies, ToolsCopyOpensWithTheFocusOnTheBannersPictureBox) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo_config");
    const std::pair<const ui::FormSpec*, const char*> copies[] = {
        {&common::kConfigAboutLayout, "Picture1"}, {&common::kAgentAboutLayout, "Command1"}};
    for (const auto& [layout, focused] : copies) {
        SCOPED_TRACE(layout->caption);
        common::AboutWindow about(app, *layout);
        app.raise([&] {
            about.form.load();
            about.form.show();
        });
        const HWND expected = static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(about.form))
                                  ->controlWindow(about.form.control(focused));
        ASSERT_NE(expected, nullptr);
        EXPECT_TRUE(ba::waitUntil([&] { return GetFocus() == expected; }, 3s))
            << "focus on a " << ba::windowClass(GetFocus());
    }
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
    HWND window = static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(bar))->hwnd();
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

// The popup menu as the platform holds it, read while it is open: its five
// items in order, the separator a line, none checked or greyed. (Another
// process cannot read a menu under Wine, so the bar is made here.)
std::vector<std::wstring> gMenuSeen;
bool gMenuMarked = false;

TEST(AgentBarOnTheWindowLayer, PopupMenuHoldsItsFiveItems) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo");
    ui::Form bar(app, agent::kAgentBarLayout);
    bar.show();
    auto* peer = static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(bar));
    ASSERT_NE(peer->hwnd(), nullptr);
    ba::waitUntil([] { return false; }, 100ms);  // let it show
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK -> void {
        KillTimer(nullptr, id);
        HWND menu = FindWindowW(L"#32768", nullptr);
        HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            wchar_t text[64] = L"";
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 64;
            GetMenuItemInfoW(items, static_cast<UINT>(i), TRUE, &info);
            gMenuSeen.push_back(info.fType & MFT_SEPARATOR ? L"-" : text);
            if (!(info.fType & MFT_SEPARATOR))
                gMenuMarked = gMenuMarked || (info.fState & (MFS_CHECKED | MFS_GRAYED));
        }
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(peer->popupMenu(), -1);
    EXPECT_EQ(gMenuSeen,
              (std::vector<std::wstring>{L"Settings...", L"Position...", L"About", L"-", L"Exit"}));
    EXPECT_FALSE(gMenuMarked);
}

}  // namespace
}  // namespace bv::testing
