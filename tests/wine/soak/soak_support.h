#pragma once
// What both soaks share: a fresh data store, and one line of figures for the
// program under soak at a point of the run.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/wine/support/test_files.h"

namespace bv::testing {

// The data store anew: ten bitmaps, the saved marker and the speed.
inline void freshStore(const std::function<std::string(int)>& bitmapOf, const char* speed) {
    std::error_code ec;
    std::filesystem::remove_all(hostPath(paths::dataDir()), ec);
    std::filesystem::create_directories(hostPath(paths::wallpapersDir()));
    std::filesystem::create_directories(hostPath(paths::scriptDir()));
    for (int n = 1; n <= 10; ++n)
        fs::writeFileAtomically(paths::wallpaper(n), bitmapOf(n));
    note::writeNote(paths::okNote(), "Top ten saved.");
    note::writeNote(paths::speedNote(), speed);
}

// "<count> <unit> <seconds> s", then what the platform says of the process:
// working set, private bytes, handles and GDI and user objects ("n/a" where
// it reports none). `before` comes between the time and those figures.
inline void printSample(HANDLE process, long count, const char* unit, double seconds,
                        const std::string& before = {}) {
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    auto shown = [](DWORD n) { return n ? std::to_string(n) : std::string("n/a"); };
    std::printf(
        "%8ld %s %7.1f s  %sworking set %7.1f MB  private %7.1f MB  handles %4s  "
        "GDI %4s  user %4s\n",
        count, unit, seconds, before.c_str(), memory.WorkingSetSize / 1048576.0,
        memory.PagefileUsage / 1048576.0, shown(handles).c_str(), shown(gdi).c_str(),
        shown(user).c_str());
    std::fflush(stdout);
}

}  // namespace bv::testing
