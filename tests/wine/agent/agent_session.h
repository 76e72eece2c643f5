#pragma once
// A real agent started under Wine on a data store that the test lays out.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"

namespace bv::testing {

using namespace std::chrono_literals;
namespace ba = bv::automation;

// A Unix path of the build as Wine sees it (drive Z: is the Unix root).
inline std::wstring fromUnix(const char* unixPath) {
    std::wstring out = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        out += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return out;
}

inline std::filesystem::path hostPath(const std::string& windowsPath) {
    return std::filesystem::path(std::wstring(windowsPath.begin(), windowsPath.end()));
}

// A small 24-bit bitmap of one colour, so each slot's file differs.
inline std::string bitmap(unsigned char r, unsigned char g, unsigned char b) {
    const int w = 8, h = 8, row = w * 3, size = 54 + row * h;
    std::string bmp(static_cast<std::size_t>(size), '\0');
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; ++i)
            bmp[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, size), put32(10, 54), put32(14, 40), put32(18, w), put32(22, h);
    bmp[26] = 1, bmp[28] = 24;
    for (int i = 54; i < size; i += 3)
        bmp[static_cast<std::size_t>(i)] = static_cast<char>(b),
        bmp[static_cast<std::size_t>(i + 1)] = static_cast<char>(g),
        bmp[static_cast<std::size_t>(i + 2)] = static_cast<char>(r);
    return bmp;
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
    // nullopt if it was not started within the time.
    static std::optional<int> toolStartedWith(std::chrono::milliseconds timeout) {
        if (!ba::waitUntil([] { return std::filesystem::exists(kToolRecord); }, timeout))
            return std::nullopt;
        std::ifstream started(kToolRecord);
        int show = -1;
        started >> show;
        return show;
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
