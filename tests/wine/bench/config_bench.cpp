// Prints what a mouse move over a slot costs the configuration tool's
// preview with bitmaps of today's screen sizes: a move to a slot whose file
// changed, a move between two slots both seen before, a move over the same
// unchanged slot, a move between two slots without a picture and a repaint
// alone, next to decoding the file whole and making the picture the preview
// keeps. Then the real tool's working set after the pointer ran down ten
// slots of 3840 x 2160 bitmaps, beside its yardstick's. Figures only: it
// fails only when a window cannot be made or a program started.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/process.h"
#include "automation/window_search.h"
#include "config/config_window.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "tests/wine/config/tool_driver.h"
#include "tests/wine/support/test_files.h"
#include "ui/backend.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace {

using Clock = std::chrono::steady_clock;
using bv::testing::fromUnix;

struct Size {
    int w, h;
};
constexpr Size kSizes[] = {{1920, 1080}, {3840, 2160}, {7680, 4320}};
constexpr SIZE kPreview{215, 127};  // Image1 inside its border

// A 24-bit bitmap of noise, a different one for each seed.
std::string noiseBitmap(Size size, unsigned seed) {
    std::string bmp = bv::testing::BitmapFile(24, size.w, size.h).bytes();
    unsigned x = seed * 2654435761u + 1;
    for (std::size_t i = 54; i < bmp.size(); ++i) {
        x = x * 1103515245u + 12345u;
        bmp[i] = static_cast<char>(x >> 23);
    }
    return bmp;
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A new last-write time, as a rewrite of the file would give it.
void touch(const std::string& path, int n) {
    HANDLE file =
        CreateFileW(bv::text::widen(path).c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME when{};
    GetSystemTimeAsFileTime(&when);
    ULARGE_INTEGER t{{when.dwLowDateTime, when.dwHighDateTime}};
    t.QuadPart += static_cast<ULONGLONG>(n) * 10000000ULL;
    when.dwLowDateTime = t.LowPart;
    when.dwHighDateTime = t.HighPart;
    SetFileTime(file, nullptr, nullptr, &when);
    CloseHandle(file);
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The median of `run`'s own time over up to `most` runs, fewer once
// `budgetMs` has gone (an emulated CPU), never fewer than three; `between`
// runs untimed after each. The median: a busy moment of the shared machine
// spoils a run, not the figure.
template <class Run, class Between>
double medianMs(int most, double budgetMs, Run run, Between between, int& runs) {
    std::vector<double> times;
    const auto began = Clock::now();
    for (runs = 0; runs < most && (runs < 3 || ms(Clock::now() - began) < budgetMs); ++runs) {
        const auto start = Clock::now();
        run(runs);
        times.push_back(ms(Clock::now() - start));
        between();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void previewFigures(bv::config::ConfigWindow& tool) {
    const std::string one = bv::paths::wallpaper(1), two = bv::paths::wallpaper(2);
    std::printf(
        "config preview, 24-bit bitmaps in slots 1 and 2 (ms, median of the runs shown):\n");
    std::printf("%-12s %17s %17s %17s %17s\n", "bitmap", "to a changed file", "between seen slots",
                "decoding whole", "making the kept");
    for (const Size size : kSizes) {
        bv::fs::writeFileAtomically(one, noiseBitmap(size, 1));
        bv::fs::writeFileAtomically(two, noiseBitmap(size, 2));
        auto hover = [&](int slot) {
            tool.Text_MouseMove(slot, {});
            pump();
        };
        hover(1);
        hover(2);
        int changedRuns = 0, movesRuns = 0, decodeRuns = 0, keptRuns = 0;
        int touches = 0;
        touch(one, ++touches);
        const double changed = medianMs(
            20, 3000, [&](int) { hover(1); },
            [&] {
                hover(2);
                touch(one, ++touches);
            },
            changedRuns);
        const double moves = medianMs(
            400, 2000, [&](int i) { hover(i % 2 ? 2 : 1); }, [] {}, movesRuns);
        const double decode = medianMs(
            20, 3000, [&](int) { bv::ui::win32::loadPictureFile(one); }, [] {}, decodeRuns);
        const double kept = medianMs(
            20, 3000, [&](int) { bv::ui::win32::loadPictureFileAt(one, kPreview); }, [] {},
            keptRuns);
        const std::string name = std::to_string(size.w) + " x " + std::to_string(size.h);
        std::printf("%-12s %9.3f (%4d)  %9.4f (%4d)  %9.3f (%4d)  %9.3f (%4d)\n", name.c_str(),
                    changed, changedRuns, moves, movesRuns, decode, decodeRuns, kept, keptRuns);
    }

    int runs = 0;
    tool.Text_MouseMove(1, {});
    pump();
    const double unchanged = medianMs(
        2000, 2000, [&](int) { tool.Text_MouseMove(1, {}); }, [] {}, runs);
    const double lookup = medianMs(
        2000, 2000, [&](int) { (void)bv::fs::fileStamp(one); }, [] {}, runs);
    std::printf(
        "  a move over the same unchanged slot: %.4f ms, of which the file's lookup %.4f ms\n",
        unchanged, lookup);
    // Slots 3 and 4 hold no file: each move shows the placeholder.
    tool.Text_MouseMove(3, {});
    pump();
    const double empty = medianMs(
        400, 2000,
        [&](int i) {
            tool.Text_MouseMove(i % 2 ? 4 : 3, {});
            pump();
        },
        [] {}, runs);
    std::printf("  a move between slots without a picture: %.4f ms (%d)\n", empty, runs);
    // The floor of a move to another slot: the platform's paint of the
    // preview's place, with nothing new to show.
    HWND window = static_cast<bv::ui::win32::Win32Form*>(bv::ui::BackEnd::peer(tool.form))->hwnd();
    const RECT preview{5280 / 15 + 40, 120 / 15 + 24, 5280 / 15 + 40 + 217, 120 / 15 + 24 + 129};
    const double repaint = medianMs(
        400, 2000,
        [&](int) {
            InvalidateRect(window, &preview, FALSE);
            pump();
        },
        [] {}, runs);
    std::printf("  a repaint of the preview alone, the same picture: %.4f ms\n", repaint);
    std::filesystem::remove(bv::testing::hostPath(two));
    std::filesystem::remove(bv::testing::hostPath(one));
}

// ---- working set of the real tool ----

struct Running {
    std::optional<bv::automation::Process> process;
    HWND window = nullptr;
};

// Started, its first visible window shown and the process idle.
bool start(const char* exe, Running& out) {
    out.process.emplace(bv::automation::Process::start(fromUnix(exe)));
    out.window = bv::automation::findWindowOfProcess(out.process->id(), std::chrono::seconds(30));
    if (!out.window) {
        std::printf("%s: no window shown\n", exe);
        return false;
    }
    WaitForInputIdle(out.process->handle(), 30000);
    return true;
}

double workingSetKb(const Running& r) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    PROCESS_MEMORY_COUNTERS mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(r.process->handle(), &mem, sizeof mem);
    return static_cast<double>(mem.WorkingSetSize) / 1024.0;
}

// The pointer down the ten slots, each preview made before the next move.
void hoverTen(const Running& tool) {
    bv::testing::ToolDriver driver;
    driver.window = tool.window;
    driver.collectControls();
    for (int slot = 1; slot <= static_cast<int>(driver.slots.size()); ++slot) {
        driver.pointAt(slot);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WaitForInputIdle(tool.process->handle(), 30000);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

bool workingSetFigures() {
    constexpr Size kSize{3840, 2160};
    for (int n = 1; n <= 10; ++n)
        bv::fs::writeFileAtomically(bv::paths::wallpaper(n),
                                    noiseBitmap(kSize, static_cast<unsigned>(n)));
    SetCursorPos(0, 0);
    constexpr int kRounds = 3;
    std::vector<double> before, after, yardstick;
    for (int round = 0; round < kRounds; ++round) {
        {
            Running tool;
            if (!start(BV_CONFIG_EXE, tool))
                return false;
            before.push_back(workingSetKb(tool));
            hoverTen(tool);
            after.push_back(workingSetKb(tool));
            tool.process->kill();
        }
        SetCursorPos(0, 0);
        Running bare;
        if (!start(BV_TOOL_WINDOWS_EXE, bare))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        yardstick.push_back(workingSetKb(bare));
        bare.process->kill();
    }
    const double y = median(yardstick), a = median(after), b = median(before);
    std::printf(
        "the tool's working set, median of %d starts (target: 1.10x the yardstick's after "
        "the hovers):\n",
        kRounds);
    std::printf("  yardstick (its windows alone)          : %9.0f kB\n", y);
    std::printf("  the tool, shown                        : %9.0f kB  %.2fx\n", b, b / y);
    std::printf("  the tool, after ten 3840 x 2160 slots  : %9.0f kB  %.2fx\n", a, a / y);
    return true;
}

}  // namespace

int main() {
    std::error_code ec;
    std::filesystem::create_directories(L"C:\\WINDOWS\\b_kelvo\\wallpapers", ec);
    {
        bv::ui::win32::Win32Platform platform;
        bv::ui::App app(platform, "config_bench");
        bv::config::ConfigWindow tool(app);
        tool.form.load();
        tool.form.show();
        pump();
        previewFigures(tool);
    }
    const bool ok = workingSetFigures();
    std::filesystem::remove_all(L"C:\\WINDOWS\\b_kelvo", ec);
    return ok ? 0 : 1;
}
