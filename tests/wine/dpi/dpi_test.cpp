// The programs on a screen of more than 96 dots per inch: the harness sets
// the prefix's resolution before this program starts and names it in
// BV_DPI. Each window must look like itself at 96, larger: its client area
// its twips at that resolution, its pictures scaled with it, its texts
// inside their boxes. The bar and the tool are the shipped programs; the
// windows reached only through them are made here, from the same layouts on
// the same window layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "agent/layouts.h"
#include "automation/input.h"
#include "automation/pixels.h"
#include "automation/process.h"
#include "automation/screenshot.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "common/about_window.h"
#include "config/layouts.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "installer/setup_window.h"
#include "resources/resource_ids.h"
#include "tests/wine/config/tool_driver.h"
#include "tests/wine/support/test_files.h"
#include "tests/wine/ui/pump.h"
#include "ui/app.h"
#include "ui/backend.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/form.h"
#include "ui/win32/fonts.h"
#include "ui/win32/metrics.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {
namespace {

using namespace std::chrono_literals;
namespace ba = bv::automation;
using Size = std::pair<LONG, LONG>;

int dpi() {
    static const int value = [] {
        const char* given = std::getenv("BV_DPI");
        return given ? std::atoi(given) : 0;
    }();
    return value;
}

// Twips to pixels at the resolution under test, halves away from zero.
LONG px(double twips) {
    return std::lround(twips * dpi() / 1440.0);
}
RECT place(int left, int top, int width, int height) {
    return {px(left), px(top), px(left) + px(width), px(top) + px(height)};
}

Size clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

ba::Pixels captureClient(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return ba::captureScreen(area);
}

// The part of `shown` under `area`.
ba::Pixels cut(const ba::Pixels& shown, const RECT& area) {
    ba::Pixels out;
    out.width = area.right - area.left;
    out.height = area.bottom - area.top;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            out.rgb.push_back(shown.at(x, y));
    return out;
}

// A picture of a program file at its own size at this resolution, over
// `under`, as the window should show it.
ba::Pixels scaledPicture(const char* program, ui::PictureRef ref, COLORREF under) {
    HMODULE file = LoadLibraryExW(fromUnix(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file)
        throw std::runtime_error(std::string("cannot read ") + program);
    ui::win32::PictureCache pictures(file);
    const ui::win32::PicturePtr picture = pictures.resource(ref);
    const LONG w = px(picture->width() * 15), h = px(picture->height() * 15);
    ba::Pixels out = ba::render(w, h, [&](HDC dc) {
        const RECT all{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(under);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        picture->draw(dc, all);
    });
    pictures.clear();
    FreeLibrary(file);
    return out;
}

int differing(const ba::Pixels& a, const ba::Pixels& b) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        count += a.rgb[i] != b.rgb[i];
    return count;
}

// A window is only worth looking at on a screen of the resolution asked for.
class AtDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(dpi(), 0) << "BV_DPI names no resolution";
        ui::win32::declareDpiAware();  // as the programs do, for the windows made here
        HDC screen = GetDC(nullptr);
        const int shown = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(shown, dpi()) << "the prefix was not set to this resolution";
        std::error_code ec;
        std::filesystem::remove_all(hostPath(paths::dataDir()), ec);
    }

    // Made in this process: the form shown, and every laid-out caption,
    // label and button text measured in the font it is drawn in, as it is
    // drawn (labels through the window layer's own line layout). A text
    // that the layout lets run past its box at 96 dots per inch may do so
    // here too; every other one must fit, a button's with room for its edges.
    static void expectLaidOutInProportion(const ui::FormSpec& layout) {
        SCOPED_TRACE(layout.caption);
        ui::win32::Win32Platform platform;
        ui::App app(platform, "dpi_test");
        ui::Form form(app, layout);
        app.raise([&] { form.show(); });
        ui::win32::pump(platform, 100);
        HWND window = static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(form))->hwnd();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(clientSize(window), Size(px(layout.clientWidth), px(layout.clientHeight)));

        ui::win32::FontCache fonts;
        HDC dc = GetDC(window);
        const LONG edge = 2 * GetSystemMetrics(SM_CXEDGE);
        for (const auto& control : form.controls()) {
            const ui::ControlSpec& row = control->spec();
            const std::wstring text = text::widen(row.text);
            const bool label = row.kind == ui::Kind::Label, button = row.kind == ui::Kind::Button;
            if (text.empty() || !(label || button || row.kind == ui::Kind::Frame))
                continue;
            const LONG room = button ? edge : label ? 0 : 16;  // a caption stands 8 pixels in
            auto fits = [&](HFONT font, LONG width, LONG height, bool asDrawn) {
                SelectObject(dc, font);
                RECT extent{0, 0, width, height};
                if (label && !row.wrap && asDrawn) {
                    const SIZE line = ui::win32::layOutLine(dc, fonts, row.font, text).size;
                    extent.right = line.cx, extent.bottom = line.cy;
                } else {
                    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
                              DT_CALCRECT | DT_EXPANDTABS | (button ? 0u : DT_NOPREFIX) |
                                  (row.wrap ? DT_WORDBREAK : 0u));
                }
                return extent.right <= width - room &&
                       extent.bottom <= height - (button ? edge : 0);
            };
            if (!fits(fonts.getAt96(row.font), std::lround(row.width / 15.0),
                      std::lround(row.height / 15.0), false))
                continue;
            EXPECT_TRUE(fits(fonts.get(row.font), px(row.width), px(row.height), true))
                << row.name << " \"" << row.text << "\" runs past its box";
        }
        ReleaseDC(window, dc);
    }
};

// The bar at its saved place, its background covering the whole client
// area and both buttons on it, each picture scaled with the twips, and the
// buttons taking clicks over all their scaled place.
TEST_F(AtDpi, AgentBar) {
    std::filesystem::create_directories(hostPath(paths::wallpapersDir()));
    std::filesystem::create_directories(hostPath(paths::scriptDir()));
    std::filesystem::create_directories(hostPath(paths::agentDir()));
    for (int n = 1; n <= 10; ++n)
        fs::writeFileAtomically(paths::wallpaper(n),
                                bitmap(static_cast<unsigned char>(n * 25), 40, 200));
    note::writeNote(paths::okNote(), "Top ten saved.");
    note::writeNote(paths::speedNote(), "60000");
    note::writeNote(paths::topNote(), "1200");
    note::writeNote(paths::leftNote(), "9000");

    ba::Process agent = ba::Process::start(fromUnix(BV_AGENT_EXE));
    const Size size(px(2640), px(360));
    HWND bar = nullptr;
    ba::waitUntil(
        [&] {
            for (HWND w : ba::topLevelWindows(agent.id()))
                if (IsWindowVisible(w) && clientSize(w) == size)
                    return (bar = w) != nullptr;
            return false;
        },
        15s);
    ASSERT_NE(bar, nullptr) << "no bar of " << size.first << " by " << size.second << " pixels";
    RECT outer{};
    GetWindowRect(bar, &outer);
    EXPECT_EQ(Size(outer.left, outer.top), Size(px(9000), px(1200)));
    Sleep(300);  // let it paint
    ba::saveScreenshot(bar, L"agent_bar_" + std::to_wstring(dpi()) + L"dpi");

    // Start-up has moved the buttons up to a top of 62 twips.
    const RECT client{0, 0, size.first, size.second};
    const RECT menuButton = place(1680, 62, 405, 195), playPause = place(2160, 62, 405, 195);
    for (const RECT& button : {menuButton, playPause}) {
        RECT inside{};
        IntersectRect(&inside, &button, &client);
        EXPECT_TRUE(EqualRect(&inside, &button)) << "a button off the background";
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const ba::Pixels background =
        scaledPicture(BV_AGENT_EXE, {ui::PictureType::Bitmap, BV_BMP_BAR}, face);
    ASSERT_GE(background.width, size.first);
    ASSERT_GE(background.height, size.second);
    const ba::Pixels shown = captureClient(bar);
    int bare = 0;
    for (LONG y = 0; y < size.second; ++y)
        for (LONG x = 0; x < size.first; ++x) {
            const POINT at{x, y};
            if (!PtInRect(&menuButton, at) && !PtInRect(&playPause, at) &&
                shown.at(x, y) != background.at(x, y))
                ++bare;
        }
    EXPECT_EQ(bare, 0) << "pixels of the client area unlike the background picture's";

    auto glyph = [&](int resource) {
        return scaledPicture(BV_AGENT_EXE, {ui::PictureType::Bitmap, resource}, face);
    };
    EXPECT_EQ(differing(cut(shown, playPause), glyph(BV_BMP_PAUSE)), 0) << "play/pause";
    // The menu button blinks: dim or lit, but whole.
    const ba::Pixels menu = cut(shown, menuButton);
    EXPECT_TRUE(differing(menu, glyph(BV_BMP_DIM)) == 0 || differing(menu, glyph(BV_BMP_LIT)) == 0)
        << "menu button";

    // The button's last pixel, outside its place at its size at 96, is still
    // the button: the click pauses and the play glyph shows.
    ba::leftClickAt(bar, {playPause.right - 1, playPause.bottom - 1});
    const ba::Pixels play = glyph(BV_BMP_PLAY);
    EXPECT_TRUE(
        ba::waitUntil([&] { return differing(cut(captureClient(bar), playPause), play) == 0; }, 5s))
        << "the click at the scaled button's corner missed it";
}

// The tool itself at this resolution, with its small picture scaled, and
// every window of the layout in proportion.
TEST_F(AtDpi, ConfigurationTool) {
    ba::Process tool = ba::Process::start(fromUnix(BV_CONFIG_EXE));
    HWND window = ba::findWindow(kToolTitle, 15s);
    ASSERT_NE(window, nullptr) << "the tool's window did not open";
    EXPECT_EQ(clientSize(window), Size(px(9915), px(7875)));
    Sleep(300);  // let it paint
    ba::saveScreenshot(window, L"config_tool_" + std::to_wstring(dpi()) + L"dpi");
    const ba::Pixels badge = scaledPicture(
        BV_CONFIG_EXE, {ui::PictureType::GifAsBitmap, BV_BMP_BADGE}, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(differing(cut(captureClient(window), place(9360, 6960, 480, 480)), badge), 0);
    tool.kill();

    expectLaidOutInProportion(config::kConfigWindowLayout);
}

TEST_F(AtDpi, SettingsWindow) {
    expectLaidOutInProportion(agent::kSettingsWindowLayout);
}

TEST_F(AtDpi, AboutWindows) {
    expectLaidOutInProportion(common::kAgentAboutLayout);
    expectLaidOutInProportion(common::kConfigAboutLayout);
}

TEST_F(AtDpi, SetupWindow) {
    expectLaidOutInProportion(installer::kSetupLayout);
}

}  // namespace
}  // namespace bv::testing
