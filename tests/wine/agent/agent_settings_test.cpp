// The real agent's settings window under Wine: its sliders move the bar,
// "&Ok" saves the place, the close box keeps it for this run only; what it
// shows and how the focus goes round.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "agent/layouts.h"
#include "automation/message_box.h"
#include "automation/screenshot.h"
#include "datastore/wide.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/support/layout_places.h"
#include "ui/win32/fonts.h"

namespace bv::testing {
namespace {

TEST_F(AgentMenu, SettingsSliderMovesTheBarAndOkSavesThePlace) {
    const Settings settings = openSettings();
    ASSERT_NE(settings.window, nullptr);
    ASSERT_NE(settings.top, nullptr) << "not two sliders";
    Sleep(300);  // let it paint
    ba::saveScreenshot(settings.window, L"agent_settings");
    choose(kPosition);  // a second time: still one window
    EXPECT_EQ(visibleWindowsTitled(L"Vistrel Agent - Settings"), 1);

    EXPECT_EQ(focusOf(settings.window), settings.top)
        << "the window opens with the focus on the top slider";
    EXPECT_TRUE(moveBarToTheTop(settings)) << "bar top " << barPlace().top;
    EXPECT_EQ(barPlace().left, 842);

    ba::Control ok = ba::findControl(settings.window, L"Button", L"&Ok");
    ASSERT_NE(ok.window, nullptr);
    ba::click(ok.window);
    ASSERT_TRUE(ba::waitUntil(
        [&] { return !IsWindow(settings.window) || !IsWindowVisible(settings.window); }, 5s));
    EXPECT_EQ(note::readNote(paths::topNote()), "1000");
    EXPECT_EQ(note::readNote(paths::leftNote()), "12630");
}

// The frame's caption, the two labels where the layout puts them, and
// nothing but the frame and "&Ok" on the window: the note boxes lie out of
// sight.
TEST_F(AgentMenu, SettingsWindowShowsOnlyItsFrameLabelsAndOk) {
    choose(kPosition, false);
    HWND settings = ba::findWindow(L"Vistrel Agent - Settings", 5s);
    ASSERT_NE(settings, nullptr);
    auto row = [](const char* name) { return layoutRow(agent::kSettingsWindowLayout, name); };
    RECT client{};
    GetClientRect(settings, &client);
    POINT origin{0, 0};
    ClientToScreen(settings, &origin);
    const std::uint32_t face = ba::toRgb(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t ink = ba::toRgb(GetSysColor(COLOR_WINDOWTEXT));
    ui::win32::FontCache fonts;

    const ui::ControlSpec frame = row("Frame1");
    // A label's place on the screen, and its text as drawn there.
    auto label = [&](const ba::Pixels& shown, const char* name) {
        const ui::ControlSpec spec = row(name);
        const RECT place = pixelPlace(spec, &frame);
        const LONG x = place.left, y = place.top;
        const LONG w = place.right - place.left, h = place.bottom - place.top;
        std::vector<std::uint32_t> at;
        for (LONG j = 0; j < h; ++j)
            for (LONG i = 0; i < w; ++i)
                at.push_back(shown.at(x + i, y + j));
        return std::pair(
            at, ba::renderText(text::widen(spec.text), fonts.get(spec.font), w, h, ink, face).rgb);
    };
    const ba::Pixels caption =
        ba::inkOf(ba::renderText(L"Position", fonts.get(frame.font), 80, 20, ink, face), face);
    // Read once the window's paint has reached the screen.
    ba::Pixels shown;
    ba::waitUntil(
        [&] {
            shown = ba::captureScreen(
                {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
            const auto [one, oneDrawn] = label(shown, "Label1");
            const auto [two, twoDrawn] = label(shown, "Label2");
            return one == oneDrawn && two == twoDrawn && ba::find(shown, caption);
        },
        10s);
    for (const char* name : {"Label1", "Label2"}) {
        const auto [at, drawn] = label(shown, name);
        EXPECT_EQ(at, drawn) << name;
    }
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
    const Case cases[] = {Case{"2147483647", "9000", "8355", "9000"},
                          Case{"-2147483649", "99999", "1000", "15000"},
                          Case{"1e10", "-300", "8355", "8000"}};
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

}  // namespace
}  // namespace bv::testing
