// The whole system once: the agent's first run starts the real tool, the
// user picks ten bitmaps and saves, and the agent started again cycles
// through exactly those pictures at the saved speed.
#include "automation/wallpaper.h"
#include "tests/wine/config/config_session.h"

namespace bv::testing {
namespace {

TEST_F(ConfigSession, AgentFirstRunToolSaveThenTheAgentCyclesThePicks) {
    std::error_code ec;
    std::filesystem::remove(hostPath(paths::configToolExe()), ec);
    std::filesystem::create_directories(hostPath(paths::startMenuFolder()));
    std::filesystem::copy_file(fromUnix(BV_CONFIG_EXE), hostPath(paths::configToolExe()),
                               std::filesystem::copy_options::overwrite_existing);

    auto agent = ba::Process::start(fromUnix(BV_AGENT_EXE));
    auto box = ba::waitForMessageBox(agent.id(), 15s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, L"First Run");
    ASSERT_TRUE(ba::answerMessageBox(*box, L"OK"));

    // The tool comes up minimized; the user brings it back from the taskbar.
    window = ba::findWindow(kToolTitle, 15s);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    DWORD toolId = ba::windowProcess(window);
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    Sleep(500);
    collectControls();
    ASSERT_EQ(slots.size(), 10u);

    std::vector<std::string> picked;
    for (int n = 1; n <= 10; ++n) {
        picked.push_back(putPicture("top" + std::to_string(n) + ".bmp",
                                    static_cast<unsigned char>(n * 23), 90, 160));
        pick(n, picked.back());
    }
    // The thumb takes the focus on a click; Page Down moves it five at a time.
    RECT thumb{};
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT at{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ClientToScreen(slider, &at);
    ba::pointerClick(at);
    for (int i = 0; i < 60; ++i)
        ba::pressKey(VK_NEXT);
    const int speed = sliderValue();
    EXPECT_EQ(speed, 1300);
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(ba::waitUntil([] { return fs::fileExists(paths::speedNote()); }, 5s));
    EXPECT_EQ(note::readNote(paths::speedNote()), std::to_string(speed));

    // The user ends both programs and logs on again.
    agent.kill();
    HANDLE toolProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, toolId);
    if (toolProcess) {
        TerminateProcess(toolProcess, 0);
        WaitForSingleObject(toolProcess, 5000);
        CloseHandle(toolProcess);
    }
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(fs::readFile(paths::wallpaper(n)),
                  fs::readFile(picked[static_cast<std::size_t>(n - 1)]));

    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), SPIF_UPDATEINIFILE);
    auto again = ba::Process::start(fromUnix(BV_AGENT_EXE));
    std::vector<std::pair<std::wstring, std::chrono::steady_clock::time_point>> seen;
    ba::waitUntil(
        [&] {
            const std::wstring now = ba::savedWallpaper();
            if (!now.empty() && (seen.empty() || seen.back().first != now))
                seen.emplace_back(now, std::chrono::steady_clock::now());
            return seen.size() >= 11;
        },
        std::chrono::milliseconds(speed * 14), 20ms);
    ASSERT_EQ(seen.size(), 11u);
    for (int n = 1; n <= 11; ++n)
        EXPECT_EQ(
            seen[static_cast<std::size_t>(n - 1)].first,
            L"C:\\WINDOWS\\b_kelvo\\wallpapers\\" + std::to_wstring(n == 11 ? 1 : n) + L".bmp");
    // Ten ticks for ten pictures and one that only resets the count: eleven
    // intervals from the first picture to its next turn.
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(seen.back().second -
                                                                            seen.front().second);
    EXPECT_NEAR(static_cast<double>(took.count()), 11.0 * speed, 0.1 * 11 * speed);
    EXPECT_FALSE(ba::waitForMessageBox(again.id(), 0ms));
    again.kill();
}

}  // namespace
}  // namespace bv::testing
