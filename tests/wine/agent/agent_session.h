#pragma once
// A real agent started under Wine on a data store that the test lays out.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/wine/support/test_files.h"

namespace bv::testing {

using namespace std::chrono_literals;
namespace ba = bv::automation;

// Whether this runs under Wine rather than on Windows.
inline bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class AgentSession : public ::testing::Test {
  protected:
    void SetUp() override {
        std::error_code ec;
        std::filesystem::remove_all(hostPath(paths::dataDir()), ec);
        std::filesystem::remove(hostPath(paths::configToolExe()), ec);
        std::filesystem::remove(kToolRecord, ec);
    }
    void TearDown() override {
        if (agent)
            agent->kill();
    }

    void makeDataStore() const {
        std::filesystem::create_directories(hostPath(paths::wallpapersDir()));
        std::filesystem::create_directories(hostPath(paths::scriptDir()));
    }
    void putWallpapers() const {
        for (int n = 1; n <= 10; ++n)
            fs::writeFileAtomically(paths::wallpaper(n),
                                    bitmap(static_cast<unsigned char>(n * 25), 40, 200));
    }
    void installNormal(const std::string& speed) const {
        makeDataStore();
        putWallpapers();
        note::writeNote(paths::okNote(), "Top ten saved.");
        note::writeNote(paths::speedNote(), speed);
    }
    void putStandInTool() const {
        std::filesystem::create_directories(hostPath(paths::startMenuFolder()));
        std::filesystem::copy_file(fromUnix(BV_STAND_IN_TOOL), hostPath(paths::configToolExe()),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    // The show command the stand-in tool was started with, once it has run;
    // nullopt if it was not started within the time. The file exists before
    // the stand-in has written its line, so the line's end is waited for.
    static std::optional<int> toolStartedWith(std::chrono::milliseconds timeout) {
        std::string line;
        auto written = [&] {
            std::ifstream started(kToolRecord, std::ios::binary);
            line.assign(std::istreambuf_iterator<char>(started), {});
            return line.find('\n') != std::string::npos;
        };
        if (!ba::waitUntil(written, timeout))
            return std::nullopt;
        return std::stoi(line);
    }
    static constexpr const wchar_t* kToolRecord = L"C:\\stand_in_started.txt";

    void startAgent() { agent.emplace(ba::Process::start(fromUnix(BV_AGENT_EXE))); }

    // The bar: the agent's visible window with a client area of 176 by 24 pixels.
    HWND waitForBar() const {
        HWND bar = nullptr;
        ba::waitUntil(
            [&] {
                for (HWND w : ba::topLevelWindows(agent->id())) {
                    RECT client{};
                    if (IsWindowVisible(w) && GetClientRect(w, &client) && client.right == 176 &&
                        client.bottom == 24)
                        return (bar = w) != nullptr;
                }
                return false;
            },
            15s);
        return bar;
    }

    std::optional<ba::Process> agent;
};

}  // namespace bv::testing
