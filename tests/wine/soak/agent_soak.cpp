// Runs the agent cycling at a 10 ms speed for a number of ticks and prints,
// at tenths of the run, its working set (Wine takes it from /proc), private
// bytes, and handles and GDI and user objects where Wine reports them ("n/a"
// where not). The figures should stay flat. Run by tools/soak.sh; it asserts
// nothing.
//
//   agent_soak.exe [TICKS]
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>

#include "automation/controls.h"
#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "tests/wine/soak/soak_support.h"
#include "tests/wine/support/test_files.h"

namespace {

namespace ba = bv::automation;
using namespace std::chrono_literals;

HWND findBar(DWORD pid) {
    for (HWND w : ba::topLevelWindows(pid)) {
        RECT client{};
        if (IsWindowVisible(w) && GetClientRect(w, &client) && client.right == 176 &&
            client.bottom == 24)
            return w;
    }
    return nullptr;
}

// Text1, where the agent writes its wallpaper step 1 to 10, then 0.
HWND stepBox(HWND bar) {
    for (const ba::Control& c : ba::childControls(bar))
        if (_wcsicmp(c.className.c_str(), L"Edit") == 0)
            return c.window;
    return nullptr;
}

int step(HWND box) {
    // GetWindowText does not ask another process's edit control.
    wchar_t text[16] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(box, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &got);
    return text[0] >= L'0' && text[0] <= L'9' ? std::wcstol(text, nullptr, 10) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const long target = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    bv::testing::freshStore(
        [](int n) { return bv::testing::bitmap(static_cast<unsigned char>(n * 25), 40, 200); },
        "10");
    ba::Process agent = ba::Process::start(bv::testing::fromUnix(BV_AGENT_EXE));
    HWND bar = nullptr;
    ba::waitUntil([&] { return (bar = findBar(agent.id())) != nullptr; }, 30s);
    HWND box = bar ? stepBox(bar) : nullptr;
    if (!box) {
        std::fprintf(stderr, "agent_soak: the agent's bar did not show\n");
        return 1;
    }
    // Ticks are counted from the step's changes, read far more often than
    // the 10 ms the agent ticks at; a step goes round 0..10.
    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    long ticks = 0, nextSample = 0;
    int last = step(box);
    while (ticks < target) {
        if (ticks >= nextSample) {
            bv::testing::printSample(agent.handle(), ticks, "ticks", seconds());
            nextSample += target / 10 > 0 ? target / 10 : 1;
        }
        Sleep(1);
        const int now = step(box);
        if (now >= 0 && now != last) {
            ticks += last < 0 ? now : (now - last + 11) % 11;
            last = now;
        }
        if (!agent.running()) {
            std::fprintf(stderr, "agent_soak: the agent ended after %ld ticks\n", ticks);
            return 1;
        }
        if (seconds() > target * 0.1 + 120) {
            std::fprintf(stderr, "agent_soak: only %ld ticks in %.0f s\n", ticks, seconds());
            return 1;
        }
    }
    bv::testing::printSample(agent.handle(), ticks, "ticks", seconds());
    std::printf("agent_soak: %ld ticks in %.1f s (%.1f ms a tick)\n", ticks, seconds(),
                seconds() * 1000.0 / static_cast<double>(ticks));
    return 0;
}
