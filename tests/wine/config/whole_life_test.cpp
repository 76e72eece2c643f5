// The whole life of the system once, from the built package: setup, the
// agent's first start from the Startup folder, the real tool's ten picks and
// save, the agent cycling them, uninstall, setup again, and the agent taking
// up the old top ten.
#include "automation/wallpaper.h"
#include "tests/wine/config/config_session.h"
#include "tests/wine/support/installed_files.h"
#include "tests/wine/support/message_boxes.h"
// After windows.h, which it needs.
#include <psapi.h>

namespace bv::testing {
namespace {

namespace sfs = std::filesystem;

class WholeLife : public ConfigSession {
  protected:
    void SetUp() override {
        ConfigSession::SetUp();
        std::error_code ec;
        sfs::remove_all(hostPath(paths::startMenuFolder()), ec);
        sfs::remove(hostPath(paths::agentStartupExe()), ec);
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""),
                              SPIF_UPDATEINIFILE);
    }
    void TearDown() override {
        for (auto* p : {&agent, &setupOrUninstall})
            if (*p)
                (*p)->kill();
        endTool();
        ConfigSession::TearDown();
    }

    // setup from the package folder, as the user runs it, answered Yes.
    void install() {
        const std::wstring package = fromUnix(BV_PACKAGE_DIR);
        setupOrUninstall.emplace(
            ba::Process::start(package + L"\\setup.exe", L"", SW_SHOWNORMAL, package));
        ASSERT_TRUE(answerNextBox(
            *setupOrUninstall, L"Yes",
            {{L"Confirm setup", L"Do you want install brenlo vistrel for your computer",
              ba::MessageIcon::Question}}));
        ASSERT_TRUE(answerNextBox(*setupOrUninstall, L"OK",
                                  {{L"Completed", L"Thank You for selecting Brenlo kelvotop.",
                                    ba::MessageIcon::Information}}));
        ASSERT_TRUE(setupOrUninstall->waitForExit(20s));
        EXPECT_EQ(installed(), "1111");
    }
    static std::string installed() { return installedFiles(); }

    // The agent as a log-on starts it, from the Startup folder.
    void logOn() { agent.emplace(ba::Process::start(text::widen(paths::agentStartupExe()))); }
    void endTool() {
        if (!window)
            return;
        if (HANDLE p =
                OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ba::windowProcess(window))) {
            TerminateProcess(p, 0);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
        }
        window = nullptr;
    }
    static std::wstring programOf(HWND w) {
        std::wstring path(MAX_PATH, L'\0');
        if (HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                   ba::windowProcess(w))) {
            path.resize(GetModuleFileNameExW(p, nullptr, path.data(), MAX_PATH));
            CloseHandle(p);
        }
        return path;
    }

    // The wallpapers the agent sets, each change once, until `count` or
    // `timeout`, with when each came.
    static std::vector<std::pair<std::wstring, std::chrono::steady_clock::time_point>>
    wallpapersSet(std::size_t count, std::chrono::milliseconds timeout) {
        std::vector<std::pair<std::wstring, std::chrono::steady_clock::time_point>> seen;
        ba::waitUntil(
            [&] {
                const std::wstring now = ba::savedWallpaper();
                if (!now.empty() && (seen.empty() || seen.back().first != now))
                    seen.emplace_back(now, std::chrono::steady_clock::now());
                return seen.size() >= count;
            },
            timeout, 20ms);
        return seen;
    }
    static std::wstring slotBitmap(std::size_t n) {
        return L"C:\\WINDOWS\\b_kelvo\\wallpapers\\" + std::to_wstring(n) + L".bmp";
    }

    std::optional<ba::Process> agent, setupOrUninstall;
};

TEST_F(WholeLife, SetupFirstRunTopTenCyclingUninstallSetupAgainOldTopTen) {
    ASSERT_NO_FATAL_FAILURE(install());
    EXPECT_FALSE(fs::fileExists(paths::dataDir())) << "setup made the data store";

    // First log-on: the first-run message, then the tool from the Start
    // Menu, minimized; the user brings it back from the taskbar.
    logOn();
    ASSERT_TRUE(answerNextBox(
        *agent, L"OK",
        {{L"First Run", L"Set your top-ten and restart your pc.", ba::MessageIcon::Information}}));
    window = ba::findWindow(kToolTitle, 15s);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(_wcsicmp(programOf(window).c_str(), text::widen(paths::configToolExe()).c_str()), 0)
        << text::narrow(programOf(window));
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    Sleep(500);
    collectControls();
    ASSERT_EQ(slots.size(), 10u);

    std::vector<std::string> picked;
    for (int n = 1; n <= 10; ++n) {
        picked.push_back(putPicture("top" + std::to_string(n) + ".bmp",
                                    static_cast<unsigned char>(n * 23), 90, 160));
        ASSERT_NO_FATAL_FAILURE(pick(n, picked.back()));
    }
    // The thumb takes the focus on a click; Page Down moves it five at a time.
    clickThumb();
    for (int i = 0; i < 60; ++i)
        ba::pressKey(VK_NEXT);
    const int speed = sliderValue();
    EXPECT_EQ(speed, 1300);
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(ba::waitUntil([] { return fs::fileExists(paths::speedNote()); }, 5s));
    EXPECT_EQ(note::readNote(paths::speedNote()), std::to_string(speed));
    const auto expectPicksStored = [&] {
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(fs::readFile(paths::wallpaper(n)),
                      fs::readFile(picked[static_cast<std::size_t>(n - 1)]));
    };
    expectPicksStored();

    // The user ends both programs and logs on again: the agent cycles
    // exactly the picks, at the saved speed.
    agent->kill();
    endTool();
    logOn();
    const auto seen = wallpapersSet(11, std::chrono::milliseconds(speed * 14));
    ASSERT_EQ(seen.size(), 11u);
    for (std::size_t n = 1; n <= 11; ++n)
        EXPECT_EQ(seen[n - 1].first, slotBitmap(n == 11 ? 1 : n));
    // Ten ticks for ten pictures and one that only resets the count: eleven
    // intervals from the first picture to its next turn.
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(seen.back().second -
                                                                            seen.front().second);
    EXPECT_NEAR(static_cast<double>(took.count()), 11.0 * speed, 0.1 * 11 * speed);
    EXPECT_FALSE(ba::waitForMessageBox(agent->id(), 0ms));
    agent->kill();

    // Uninstall from its Start Menu entry: the programs go, the data stays.
    const std::string marker = fs::readFile(paths::okNote());
    setupOrUninstall.emplace(ba::Process::start(text::widen(paths::uninstallExe())));
    ASSERT_TRUE(answerNextBox(
        *setupOrUninstall, L"Yes",
        {{L"Confirm Uninstall setup", L"Do you want Uninstall brenlo vistrel from your computer.",
          ba::MessageIcon::Question}}));
    ASSERT_TRUE(answerNextBox(
        *setupOrUninstall, L"OK",
        {{L"Uninstall", L"Brenlo Kelvo was uninstalled.", ba::MessageIcon::Information}}));
    ASSERT_TRUE(setupOrUninstall->waitForExit(20s));
    EXPECT_TRUE(ba::waitUntil([] { return installed() == "0000"; }, 20s)) << installed();
    EXPECT_EQ(fs::readFile(paths::okNote()), marker);
    expectPicksStored();

    // Setup again, and the next log-on starts on the old top ten without
    // the first-run message.
    ASSERT_NO_FATAL_FAILURE(install());
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), SPIF_UPDATEINIFILE);
    logOn();
    const auto again = wallpapersSet(2, std::chrono::milliseconds(speed * 4));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].first, slotBitmap(1));
    EXPECT_EQ(again[1].first, slotBitmap(2));
    EXPECT_FALSE(ba::waitForMessageBox(agent->id(), 0ms));
    EXPECT_EQ(ba::findWindow(kToolTitle, 0ms), nullptr) << "the agent started the tool";
}

}  // namespace
}  // namespace bv::testing
