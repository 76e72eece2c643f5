// The real agent under Wine: its three ways of starting, the wallpaper cycle
// read back from the platform, and the saved place of the bar.
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "automation/message_box.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "tests/wine/agent/agent_session.h"
#include "tests/wine/support/message_boxes.h"

namespace bv::testing {
namespace {

// The window's outer top-left corner on the screen, in pixels.
std::pair<LONG, LONG> corner(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

TEST_F(AgentSession, FirstRunAsksForTheTopTenThenStartsTheToolMinimized) {
    putStandInTool();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), SPIF_UPDATEINIFILE);
    startAgent();
    ASSERT_TRUE(answerNextBox(
        *agent, L"OK",
        {{L"First Run", L"Set your top-ten and restart your pc.", ba::MessageIcon::Information}},
        [](const ba::MessageBoxInfo& box) {
            EXPECT_EQ(box.buttons.size(), 1u);
            EXPECT_FALSE(std::filesystem::exists(kToolRecord)) << "started before the box closed";
        }));

    EXPECT_EQ(toolStartedWith(15s), SW_SHOWMINIMIZED);
    EXPECT_NE(waitForBar(), nullptr);
    EXPECT_TRUE(agent->running());

    // The top ten saved while this agent runs counts from its next start.
    installNormal("100");
    Sleep(1500);
    EXPECT_EQ(ba::savedWallpaper(), L"");
    EXPECT_TRUE(agent->running());
}

TEST_F(AgentSession, MissingBitmapShowsTheMissingFilesMessageOnly) {
    installNormal("1000");
    fs::deleteFile(paths::wallpaper(7));
    startAgent();
    ASSERT_TRUE(
        answerNextBox(*agent, L"OK",
                      {{L"Missing Filess Error", L"An error occured while bitmap loading progress",
                        ba::MessageIcon::Question}}));
    EXPECT_NE(waitForBar(), nullptr);
    EXPECT_FALSE(ba::waitForMessageBox(agent->id(), 1500ms));
}

TEST_F(AgentSession, NormalRunCyclesTheTenBitmapsAsTheWallpaper) {
    installNormal("400");
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), SPIF_UPDATEINIFILE);
    startAgent();
    HWND bar = waitForBar();
    ASSERT_NE(bar, nullptr);
    ba::saveScreenshot(bar, L"agent_bar");

    // Distinct wallpapers in the order the platform reported them.
    std::vector<std::wstring> seen;
    ba::waitUntil(
        [&] {
            const std::wstring now = ba::savedWallpaper();
            if (!now.empty() && (seen.empty() || seen.back() != now))
                seen.push_back(now);
            return seen.size() >= 11;
        },
        20s, 20ms);
    std::vector<std::wstring> expected;
    for (int n = 1; n <= 10; ++n)
        expected.push_back(L"C:\\WINDOWS\\b_kelvo\\wallpapers\\" + std::to_wstring(n) + L".bmp");
    expected.push_back(expected.front());
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(ba::waitForMessageBox(agent->id(), 0ms));
}

TEST_F(AgentSession, SavedPlaceIsWhereTheBarOpens) {
    installNormal("5000");
    std::filesystem::create_directories(hostPath(paths::agentDir()));
    note::writeNote(paths::topNote(), "1200");
    note::writeNote(paths::leftNote(), "9000");
    startAgent();
    HWND bar = waitForBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(corner(bar), (std::pair<LONG, LONG>(9000 / 15, 1200 / 15)));
}

TEST_F(AgentSession, LaidOutPlaceWithoutSavedNotes) {
    installNormal("5000");
    startAgent();
    HWND bar = waitForBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(corner(bar), (std::pair<LONG, LONG>(12630 / 15, 8355 / 15)));
    EXPECT_TRUE(std::filesystem::is_directory(hostPath(paths::agentDir())));
}

}  // namespace
}  // namespace bv::testing
