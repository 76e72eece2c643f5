// Prints how long the agent takes from its start to a shown bar, its
// resident memory while it cycles, and the CPU it uses between ticks, next
// to the same figures of a minimal window program. Figures only: it fails
// only when a program cannot be run.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/wine/support/test_files.h"

namespace {

using bv::testing::fromUnix;
using Clock = std::chrono::steady_clock;

struct Search {
    DWORD pid;
    bool found;
};

BOOL CALLBACK visitWindow(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == s->pid && IsWindowVisible(w))
        s->found = true;
    return !s->found;
}

bool hasVisibleWindow(DWORD pid) {
    Search search{pid, false};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Figures {
    double startMs = 0;
    double workingSetKb = 0;
    double cpuMsPerSecond = 0;
};

double cpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

bool measure(const std::wstring& program, Figures& out) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const auto t0 = Clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    while (!hasVisibleWindow(pi.dwProcessId) && Clock::now() - t0 < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    out.startMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();

    std::this_thread::sleep_for(std::chrono::seconds(3));  // some ticks of the cycle
    const double cpu0 = cpuMs(pi.hProcess);
    std::this_thread::sleep_for(std::chrono::seconds(4));
    out.cpuMsPerSecond = (cpuMs(pi.hProcess) - cpu0) / 4.0;
    PROCESS_MEMORY_COUNTERS mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(pi.hProcess, &mem, sizeof mem);
    out.workingSetKb = static_cast<double>(mem.WorkingSetSize) / 1024.0;

    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

Figures median(std::vector<Figures> runs) {
    auto pick = [&](auto field) {
        std::vector<double> v;
        for (const auto& r : runs)
            v.push_back(r.*field);
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {pick(&Figures::startMs), pick(&Figures::workingSetKb), pick(&Figures::cpuMsPerSecond)};
}

}  // namespace

int main() {
    // A normal run: the agent cycles every 2 s and blinks twice a second.
    std::error_code ec;
    std::filesystem::create_directories(L"C:\\WINDOWS\\b_kelvo\\wallpapers", ec);
    for (int n = 1; n <= 10; ++n)
        bv::fs::writeFileAtomically(
            bv::paths::wallpaper(n),
            bv::testing::bitmap(static_cast<unsigned char>(n * 25), 40, 200));
    bv::note::writeNote(bv::paths::okNote(), "Top ten saved.");
    bv::note::writeNote(bv::paths::speedNote(), "2000");

    const std::pair<const char*, std::wstring> programs[] = {
        {"minimal window", fromUnix(BV_MINIMAL_EXE)},
        {"brenlo_kel_vo", fromUnix(BV_AGENT_EXE)},
    };
    std::printf("%-16s %14s %16s %18s\n", "program", "start to shown", "working set",
                "CPU between ticks");
    for (const auto& [name, path] : programs) {
        std::vector<Figures> runs(3);
        for (auto& run : runs)
            if (!measure(path, run)) {
                std::printf("%s: cannot be started\n", name);
                return 1;
            }
        const Figures f = median(runs);
        std::printf("%-16s %11.0f ms %13.0f kB %13.2f ms/s\n", name, f.startMs, f.workingSetKb,
                    f.cpuMsPerSecond);
    }
    std::filesystem::remove_all(L"C:\\WINDOWS\\b_kelvo", ec);
    return 0;
}
