// Plays the user for tools/try.sh on a display nobody watches: runs setup
// from the package, the agent's first start from the Startup folder, puts a
// top ten in place, and starts the agent again, which then cycles it.
//
//   try_driver.exe PACKAGE_FOLDER SAMPLES_FOLDER   (Windows paths)
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "automation/message_box.h"
#include "automation/process.h"
#include "automation/screenshot.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "datastore/wide.h"

namespace ba = bv::automation;
using namespace std::chrono_literals;

namespace {

void say(const std::string& what) {
    std::printf("try: %s\n", what.c_str());
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "try: %s\n", what.c_str());
    std::exit(1);
}

ba::MessageBoxInfo expectBox(const ba::Process& process, const std::wstring& title) {
    auto box = ba::waitForMessageBox(process.id(), 60s);
    if (!box)
        fail("no message box \"" + bv::text::narrow(title) + "\"");
    if (box->title != title)
        fail("message box \"" + bv::text::narrow(box->title) +
             "\": " + bv::text::narrow(box->prompt));
    return *box;
}

// What the configuration tool's Save leaves: the ten bitmaps, their
// captions, the first-run marker and the speed.
void putTopTen(const std::wstring& samples) {
    for (const std::string& dir :
         {bv::paths::dataDir(), bv::paths::wallpapersDir(), bv::paths::scriptDir()})
        std::filesystem::create_directories(bv::text::widen(dir));
    for (int n = 1; n <= 10; ++n) {
        const std::string name = std::to_string(n) + ".bmp";
        bv::fs::copyFile(bv::text::narrow(samples) + "\\" + name, bv::paths::wallpaper(n));
        bv::note::writeNote(bv::paths::captionNote(n), "Selected Image # " + name);
    }
    bv::note::writeNote(bv::paths::okNote(), "Brenlo Vistrel top ten saved.");
    bv::note::writeNote(bv::paths::speedNote(), "1000");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        fail("usage: try_driver PACKAGE_FOLDER SAMPLES_FOLDER");
    const std::wstring package = argv[1], samples = argv[2];
    const std::wstring agentPath = bv::text::widen(bv::paths::agentStartupExe());

    say("setup from " + bv::text::narrow(package));
    {
        ba::Process setup =
            ba::Process::start(package + L"\\setup.exe", L"", SW_SHOWNORMAL, package);
        ba::answerMessageBox(expectBox(setup, L"Confirm setup"), L"Yes");
        const ba::MessageBoxInfo closing = expectBox(setup, L"Completed");
        ba::saveScreenshot(nullptr, L"1-setup-completed");
        say("setup: " + bv::text::narrow(closing.prompt));
        ba::answerMessageBox(closing, L"OK");
        setup.waitForExit(30s);
    }

    say("the agent's first start, from the Startup folder");
    {
        ba::Process agent = ba::Process::start(agentPath);
        const ba::MessageBoxInfo first = expectBox(agent, L"First Run");
        ba::saveScreenshot(nullptr, L"2-first-run");
        ba::answerMessageBox(first, L"OK");
        // The agent starts the configuration tool; give it time to show.
        ba::waitUntil([] { return false; }, 3s);
        ba::saveScreenshot(nullptr, L"3-configuration-tool");
        // Ending the agent here stands for the restart that the first-run
        // message asks for.
    }
    if (HWND tool = ba::findWindow(L"Brenlo Vistrel v1.0 - Settings", 0ms)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, ba::windowProcess(tool))) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }

    say("the top ten put in place as the configuration tool saves it");
    putTopTen(samples);

    say("the agent's normal start, from the Startup folder");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring line = L"\"" + agentPath + L"\"";
    if (!CreateProcessW(agentPath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started))
        fail("cannot start the agent");
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}
