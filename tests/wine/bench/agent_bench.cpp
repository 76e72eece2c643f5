// Prints, for every program that shows a window, the time from its start to
// its first shown window, its working set and CPU use once it is running,
// the agent's wallpaper step against its speed, and the size of every
// shipped program file, each beside the same figure of a minimal window
// program built the same way. Figures only: it fails only when a program
// cannot be run.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/process.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/wine/support/test_files.h"

namespace {

using bv::testing::fromUnix;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kSpeedMs = 1000;       // the agent's wallpaper speed while measured
constexpr double kSettleS = 2.5;     // running before CPU is counted
constexpr double kCpuWindowS = 4.0;  // CPU counted over this time
constexpr int kHoverMoves = 20;      // the tool's preview: slots hovered before measuring
constexpr int kSettleBetweenStartsMs = 300;
constexpr int kStarts = 21;  // per program; BV_BENCH_STARTS overrides

// One program of the table. A program added to the product is one more row.
struct Program {
    const char* name;
    const char* exe;   // Unix path, from the build
    bool showsWindow;  // else only its file size is printed
    bool cycles;       // sets the wallpaper: its step is timed
    bool previews;     // the pointer goes over its slots while it runs
    // The program that makes the same platform windows with bare calls and
    // does nothing else: what this one is measured against. Null for the
    // yardsticks themselves.
    const Program* yardstick = nullptr;
};

// A program whose first window is a confirmation box (setup's) is measured to
// that box and while it waits there; nothing past the box runs.

const Program kMinimal{"minimal window", BV_MINIMAL_EXE, true, false, false};
// Setup's floor: its question alone, asked by a program that does nothing else.
const Program kMessageBoxOnly{"message box only", BV_MESSAGE_BOX_EXE, true, false, false};
// The tool's floor: its platform windows alone, made with bare calls.
const Program kToolWindowsOnly{"tool's windows only", BV_TOOL_WINDOWS_EXE, true, false, false};
const Program kPrograms[] = {
    {"brenlo_kel_vo", BV_AGENT_EXE, true, true, false, &kMinimal},
    {"brenlo_kel_vo_config", BV_CONFIG_EXE, true, false, true, &kToolWindowsOnly},
    {"setup", BV_SETUP_EXE, true, false, false, &kMessageBoxOnly},
    {"uninstall", BV_UNINSTALL_EXE, false, false, false},
};

// Any visible top-level window: the agent's bar, the tool's main window, a
// confirmation box.
HWND visibleWindow(DWORD pid) {
    return bv::automation::findWindowOfProcess(pid, std::chrono::milliseconds(0));
}

// The tool's slots: its edit boxes, top to bottom, in screen coordinates.
std::vector<RECT> slotPlaces(HWND window) {
    std::vector<RECT> places;
    for (const auto& c : bv::automation::childControls(window))
        if (_wcsicmp(c.className.c_str(), L"Edit") == 0) {
            RECT r{};
            GetWindowRect(c.window, &r);
            places.push_back(r);
        }
    std::sort(places.begin(), places.end(),
              [](const RECT& a, const RECT& b) { return a.top < b.top; });
    return places;
}

// The pointer over one slot after another, each preview given time to show.
void hoverSlots(HWND window, int moves) {
    const std::vector<RECT> places = slotPlaces(window);
    for (int i = 0; i < moves && !places.empty(); ++i) {
        const RECT& r = places[static_cast<std::size_t>(i) % places.size()];
        bv::automation::pointerTo(POINT{r.left + 20, (r.top + r.bottom) / 2});
        bv::automation::pointerTo(POINT{r.left + 40, (r.top + r.bottom) / 2});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

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

struct Started {
    PROCESS_INFORMATION pi{};
    double shownMs = -1;  // negative: no window within the limit
    ~Started() {
        if (!pi.hProcess)
            return;
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

bool start(const Program& program, Started& out) {
    std::wstring command = L"\"" + fromUnix(program.exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const auto t0 = Clock::now();
    if (!bv::automation::createProcess(nullptr, command, nullptr, si, out.pi)) {
        std::printf("%s: cannot be started (error %lu)\n", program.name, GetLastError());
        return false;
    }
    while (Clock::now() - t0 < std::chrono::seconds(20)) {
        if (visibleWindow(out.pi.dwProcessId)) {
            out.shownMs = Ms(Clock::now() - t0).count();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    DWORD code = 0;
    GetExitCodeProcess(out.pi.hProcess, &code);
    if (code == STILL_ACTIVE)
        std::printf("%s: no window shown within 20 s, still running\n", program.name);
    else
        std::printf("%s: no window shown, ended with code 0x%lx\n", program.name, code);
    return false;
}

// Times of the wallpaper changes that any process saves in the profile.
class WallpaperSteps {
  public:
    WallpaperSteps() {
        thread_ = CreateThread(nullptr, 0, &WallpaperSteps::entry, this, 0, nullptr);
    }
    ~WallpaperSteps() {
        stop();
        CloseHandle(wake_);
    }
    WallpaperSteps(const WallpaperSteps&) = delete;
    WallpaperSteps& operator=(const WallpaperSteps&) = delete;

    // Ends the watch; the times are final from then on.
    const std::vector<Clock::time_point>& stop() {
        if (thread_) {
            stop_ = true;
            SetEvent(wake_);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return times_;
    }

  private:
    static DWORD WINAPI entry(void* self) {
        static_cast<WallpaperSteps*>(self)->watch();
        return 0;
    }
    void watch() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0,
                          KEY_NOTIFY | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return;
        HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        std::wstring last = value(key);
        while (!stop_) {
            RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
            HANDLE both[] = {changed, wake_};
            if (WaitForMultipleObjects(2, both, FALSE, INFINITE) != WAIT_OBJECT_0)
                break;
            const auto at = Clock::now();
            std::wstring now = value(key);
            if (now != last)
                times_.push_back(at);
            last = now;
        }
        CloseHandle(changed);
        RegCloseKey(key);
    }
    static std::wstring value(HKEY key) {
        wchar_t buffer[MAX_PATH] = {};
        DWORD size = sizeof buffer - sizeof(wchar_t);
        RegQueryValueExW(key, L"Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         &size);
        return buffer;
    }

    std::atomic<bool> stop_{false};
    HANDLE wake_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<Clock::time_point> times_;
    HANDLE thread_ = nullptr;
};

struct Running {
    double workingSetKb = 0;
    double cpuMsPerS = 0;
    std::vector<double> stepsMs;  // intervals between wallpaper changes
};

bool run(const Program& program, Running& out) {
    WallpaperSteps steps;
    Started started;
    if (!start(program, started))
        return false;
    const HANDLE process = started.pi.hProcess;
    if (program.previews)
        hoverSlots(visibleWindow(started.pi.dwProcessId), kHoverMoves);
    std::this_thread::sleep_for(Ms(kSettleS * 1000));
    const double cpu0 = cpuMs(process);
    std::this_thread::sleep_for(Ms(kCpuWindowS * 1000));
    out.cpuMsPerS = (cpuMs(process) - cpu0) / kCpuWindowS;
    PROCESS_MEMORY_COUNTERS mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(process, &mem, sizeof mem);
    out.workingSetKb = static_cast<double>(mem.WorkingSetSize) / 1024.0;
    const auto& times = steps.stop();
    for (std::size_t i = 1; i < times.size(); ++i)
        out.stepsMs.push_back(Ms(times[i] - times[i - 1]).count());
    return true;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The system timer's tick, in ms: how finely a window timer can keep time.
double timerResolutionMs() {
    DWORD adjustment = 0, increment = 0;
    BOOL disabled = FALSE;
    GetSystemTimeAdjustment(&adjustment, &increment, &disabled);
    return increment / 10000.0;
}

long long fileSize(const char* unixPath) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(fromUnix(unixPath), ec);
    return ec ? -1 : static_cast<long long>(size);
}

void prepareDataStore() {
    std::error_code ec;
    std::filesystem::create_directories(L"C:\\WINDOWS\\b_kelvo\\wallpapers", ec);
    for (int n = 1; n <= 10; ++n)
        bv::fs::writeFileAtomically(
            bv::paths::wallpaper(n),
            bv::testing::bitmap(static_cast<unsigned char>(n * 25), 40, 200));
    bv::note::writeNote(bv::paths::okNote(), "Top ten saved.");
    bv::note::writeNote(bv::paths::speedNote(), std::to_string(kSpeedMs));
}

}  // namespace

int main() {
    const char* wanted = std::getenv("BV_BENCH_STARTS");
    const int starts = wanted ? std::max(1, std::atoi(wanted)) : kStarts;
    prepareDataStore();
    // The pointer away from the windows, as at a log-on: over the bar it
    // would bring the tooltips (and the common controls) in at once.
    SetCursorPos(0, 0);

    std::vector<const Program*> shown{&kMinimal, &kMessageBoxOnly, &kToolWindowsOnly};
    for (const Program& p : kPrograms)
        if (p.showsWindow)
            shown.push_back(&p);

    // Starts alternate between the programs, so that a busy moment of the
    // machine hits them alike. A first round only warms the new prefix up
    // (its first processes do one-time work); each start waits until the
    // ending of the one before has settled.
    //
    // On a slow host (an emulated CPU) the rounds stop once half of the
    // time the harness gives this program has gone, so that the runs below
    // still fit; the table says how many starts its medians come from.
    const char* limit = std::getenv("BV_WINE_TIMEOUT");
    const double budgetS = limit ? std::atof(limit) / 2 : 1e9;
    const auto began = Clock::now();
    std::vector<std::vector<double>> startMs(shown.size());
    int rounds = 0;
    for (int round = -1; round < starts; ++round) {
        if (round > 0 && std::chrono::duration<double>(Clock::now() - began).count() > budgetS)
            break;
        rounds = round + 1;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            double shownMs = 0;
            {
                Started s;
                if (!start(*shown[i], s))
                    return 1;
                shownMs = s.shownMs;
            }
            if (round >= 0)
                startMs[i].push_back(shownMs);
            std::this_thread::sleep_for(std::chrono::milliseconds(kSettleBetweenStartsMs));
        }
    }
    std::vector<Running> running(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (!run(*shown[i], running[i]))
            return 1;

    const double minStart = median(startMs[0]);
    const double minMemory = running[0].workingSetKb;
    std::printf(
        "== benchmark: start to shown (median of %d, and the fastest), working set and CPU "
        "after %.1f s (the tool after %d preview hovers, setup at its confirmation box), ratios "
        "to the minimal window program\n",
        rounds, kSettleS, kHoverMoves);
    std::printf("%-20s %13s %6s %8s %6s %13s %6s %17s\n", "program", "start to shown", "ratio",
                "fastest", "ratio", "working set", "ratio", "CPU between ticks");
    const double minFastest = *std::min_element(startMs[0].begin(), startMs[0].end());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const double s = median(startMs[i]);
        const double fastest = *std::min_element(startMs[i].begin(), startMs[i].end());
        std::printf("%-20s %10.0f ms %5.2fx %5.0f ms %5.2fx %10.0f kB %5.2fx %12.2f ms/s\n",
                    shown[i]->name, s, s / minStart, fastest, fastest / minFastest,
                    running[i].workingSetKb, running[i].workingSetKb / minMemory,
                    running[i].cpuMsPerS);
    }
    // The target: each program within 1.10x of its yardstick.
    auto indexOf = [&](const Program* p) {
        return static_cast<std::size_t>(std::find(shown.begin(), shown.end(), p) - shown.begin());
    };
    std::printf("against the yardstick that makes the same platform windows (target 1.10x):\n");
    std::printf("%-20s %-20s %13s %13s\n", "program", "yardstick", "start ratio", "memory ratio");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!shown[i]->yardstick)
            continue;
        const std::size_t y = indexOf(shown[i]->yardstick);
        std::printf("%-20s %-20s %12.2fx %12.2fx\n", shown[i]->name, shown[y]->name,
                    median(startMs[i]) / median(startMs[y]),
                    running[i].workingSetKb / running[y].workingSetKb);
    }

    std::printf("wallpaper step at a speed of %d ms (timer resolution %.1f ms):\n", kSpeedMs,
                timerResolutionMs());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!shown[i]->cycles)
            continue;
        // Every eleventh tick only resets the counter: that gap counts as two.
        std::vector<double> perTick;
        for (double step : running[i].stepsMs) {
            const double ticks = std::max(1.0, std::round(step / kSpeedMs));
            perTick.push_back(step / ticks);
        }
        double worst = 0;
        for (double t : perTick)
            worst = std::max(worst, std::fabs(t - kSpeedMs));
        std::printf("%-20s %zu steps, median %.1f ms, farthest %.1f ms off\n", shown[i]->name,
                    perTick.size(), median(perTick), worst);
    }

    std::printf("program file sizes:\n");
    std::printf("%-20s %10lld bytes\n", kMinimal.name, fileSize(kMinimal.exe));
    for (const Program& p : kPrograms)
        std::printf("%-20s %10lld bytes\n", p.name, fileSize(p.exe));
    std::printf("== end of benchmark\n");

    std::error_code ec;
    std::filesystem::remove_all(L"C:\\WINDOWS\\b_kelvo", ec);
    return 0;
}
