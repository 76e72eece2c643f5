// Prints what one mouse move over a slot costs the configuration tool when
// the slot's 1920 x 1080 bitmap is unchanged and when its stamp changed,
// next to decoding that file once. Figures only: it fails only when the
// window cannot be made.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/config_window.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "tests/wine/support/test_files.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string bigBitmap() {
    std::string bmp = bv::testing::blackBitmap(1920, 1080);
    for (std::size_t i = 54; i < bmp.size(); ++i)
        bmp[i] = static_cast<char>((i * 7) & 0xff);
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

double msSince(Clock::time_point start, int count) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / count;
}

}  // namespace

int main() {
    std::error_code ec;
    std::filesystem::create_directories(L"C:\\WINDOWS\\b_kelvo\\wallpapers", ec);
    const std::string path = bv::paths::wallpaper(1);
    bv::fs::writeFileAtomically(path, bigBitmap());

    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "config_bench");
    bv::config::ConfigWindow tool(app);
    tool.form.load();
    tool.form.show();
    pump();

    tool.Text_MouseMove(1, {});  // the first look decodes
    pump();
    constexpr int kUnchanged = 2000;
    auto start = Clock::now();
    for (int i = 0; i < kUnchanged; ++i)
        tool.Text_MouseMove(1, {});  // nothing to repaint
    const double unchanged = msSince(start, kUnchanged);
    start = Clock::now();
    for (int i = 0; i < kUnchanged; ++i)
        (void)bv::fs::fileStamp(path);
    const double lookup = msSince(start, kUnchanged);

    constexpr int kChanged = 20;
    double changed = 0;
    for (int i = 0; i < kChanged; ++i) {
        touch(path, i + 1);
        start = Clock::now();
        tool.Text_MouseMove(1, {});
        pump();
        changed += msSince(start, 1);
    }
    changed /= kChanged;

    constexpr int kDecodes = 20;
    start = Clock::now();
    for (int i = 0; i < kDecodes; ++i)
        bv::ui::win32::loadPictureFile(path);
    const double decode = msSince(start, kDecodes);

    std::printf("config preview, 1920 x 1080 24-bit bitmap (%zu bytes):\n",
                static_cast<std::size_t>(54 + 1920 * 1080 * 3));
    std::printf("  mouse move, file unchanged : %8.4f ms  (mean of %d)\n", unchanged, kUnchanged);
    std::printf("  of which the file's lookup : %8.4f ms\n", lookup);
    std::printf("  mouse move, file changed   : %8.3f ms  (mean of %d, decode and paint)\n",
                changed, kChanged);
    std::printf("  decoding the file once     : %8.3f ms  (mean of %d)\n", decode, kDecodes);
    std::filesystem::remove_all(L"C:\\WINDOWS\\b_kelvo", ec);
    return 0;
}
