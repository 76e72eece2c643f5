// Hovers the configuration tool's slots a number of times, each move to
// another slot than the last, so that every move shows another bitmap in the
// preview. Prints, at tenths of the run, the tool's resident memory read
// from /proc, its working set and private bytes, and handles and GDI and
// user objects where Wine reports them ("n/a" where not). The figures should
// stay flat. Run by tools/soak.sh; it asserts nothing.
//
//   config_soak.exe [HOVERS]
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "automation/controls.h"
#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "tests/wine/soak/soak_support.h"
#include "tests/wine/support/test_files.h"

namespace {

namespace ba = bv::automation;
using namespace std::chrono_literals;

std::string readAll(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The Linux process that runs the tool under this Wine prefix, found in
// /proc (drive Z: is the Unix root); 0 if none.
unsigned long unixPidOf(const std::wstring& exeName) {
    wchar_t prefix[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    std::string wanted = "WINEPREFIX=";
    for (const wchar_t* p = prefix; *p; ++p)
        wanted += static_cast<char>(*p);
    const std::string name(exeName.begin(), exeName.end());
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(L"Z:\\proc", ec)) {
        const std::wstring id = entry.path().filename().wstring();
        if (id.empty() || !std::all_of(id.begin(), id.end(), iswdigit))
            continue;
        const std::wstring dir = L"Z:\\proc\\" + id + L"\\";
        if (readAll(dir + L"cmdline").find(name) == std::string::npos)
            continue;
        std::string env = readAll(dir + L"environ");
        std::replace(env.begin(), env.end(), '\0', '\n');
        if (("\n" + env + "\n").find("\n" + wanted + "\n") != std::string::npos)
            return std::wcstoul(id.c_str(), nullptr, 10);
    }
    return 0;
}

// VmRSS of a Linux process, in kB; -1 if it cannot be read.
long residentKb(unsigned long unixPid) {
    if (!unixPid)
        return -1;
    std::istringstream status(readAll(L"Z:\\proc\\" + std::to_wstring(unixPid) + L"\\status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void sample(HANDLE tool, unsigned long unixPid, long hovers, double seconds) {
    char rss[32];
    std::snprintf(rss, sizeof rss, "VmRSS %7.1f MB  ", residentKb(unixPid) / 1024.0);
    bv::testing::printSample(tool, hovers, "hovers", seconds, rss);
}

// The tool's slot text boxes Text1 ... Text10, top to bottom.
std::vector<HWND> slotBoxes(HWND window) {
    std::vector<ba::Control> edits;
    for (const ba::Control& c : ba::childControls(window))
        if (_wcsicmp(c.className.c_str(), L"Edit") == 0)
            edits.push_back(c);
    std::sort(edits.begin(), edits.end(),
              [](const ba::Control& a, const ba::Control& b) { return a.rect.top < b.rect.top; });
    std::vector<HWND> boxes;
    for (const ba::Control& c : edits)
        boxes.push_back(c.window);
    return boxes;
}

}  // namespace

int main(int argc, char** argv) {
    const long target = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    // Ten 320 x 240 bitmaps of different greys: big enough that a preview
    // picture kept by mistake shows in the memory figures.
    bv::testing::freshStore(
        [](int n) {
            return bv::testing::BitmapFile(24, 320, 240, static_cast<char>(n * 25)).bytes();
        },
        "1000");
    ba::Process tool = ba::Process::start(bv::testing::fromUnix(BV_CONFIG_EXE));
    HWND window = nullptr;
    ba::waitUntil(
        [&] {
            for (HWND w : ba::topLevelWindows(tool.id()))
                if (IsWindowVisible(w) && ba::windowText(w) == L"Brenlo Vistrel v1.0 - Settings")
                    return (window = w) != nullptr;
            return false;
        },
        30s);
    const std::vector<HWND> boxes = window ? slotBoxes(window) : std::vector<HWND>{};
    if (boxes.size() != 10) {
        std::fprintf(stderr, "config_soak: the tool's window with its ten slots did not show\n");
        return 1;
    }
    const unsigned long unixPid = unixPidOf(L"brenlo_kel_vo_config.exe");
    if (!unixPid)
        std::fprintf(stderr, "config_soak: the tool's Linux process is not in /proc\n");

    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    const long tenth = std::max(1L, target / 10);
    for (long hovers = 0; hovers < target; ++hovers) {
        if (hovers % tenth == 0)
            sample(tool.handle(), unixPid, hovers, seconds());
        // A real move over the next slot, then a caret move posted behind it:
        // once the caret has moved, the tool has handled the mouse move, so
        // moves never pile up in its queue.
        const HWND box = boxes[static_cast<std::size_t>(hovers % 10)];
        // The caret alternates between 1 and 2 at each visit of the box.
        const int mark = 1 + static_cast<int>(hovers / 10 % 2);
        PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(20, 6));
        PostMessageW(box, EM_SETSEL, mark, mark);
        const bool handled = ba::waitUntil(
            [&] {
                DWORD_PTR selection = 0;
                SendMessageTimeoutW(box, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
                return LOWORD(selection) == mark;
            },
            5s, 0ms);
        if (!handled || !tool.running()) {
            std::fprintf(stderr, "config_soak: the tool %s after %ld hovers\n",
                         tool.running() ? "stopped answering" : "ended", hovers);
            return 1;
        }
    }
    sample(tool.handle(), unixPid, target, seconds());
    std::printf("config_soak: %ld hovers in %.1f s (%.2f ms a hover)\n", target, seconds(),
                seconds() * 1000.0 / static_cast<double>(target));
    return 0;
}
