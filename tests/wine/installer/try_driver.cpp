// Plays the user for tools/try.sh on a display nobody watches: runs setup
// from the package, the agent's first start from the Startup folder, ten
// picks and Save in the configuration tool that it starts, and the agent's
// next start, which then cycles the picks.
//
//   try_driver.exe PACKAGE_FOLDER SAMPLES_FOLDER   (Windows paths)
//   try_driver.exe --wallpaper
//
// The second form prints the wallpaper setting's file as a Linux path, at
// once and at each change (an empty line when there is none), until ended: Wine without its desktop
// window shows no wallpaper, so try.sh paints that file as the X screen's background.
#include <windows.h>

#include <cstdio>
#include <string>

#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/process.h"
#include "automation/screenshot.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "tests/wine/config/tool_driver.h"
#include "ui/win32/late_library.h"

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

// The user's part in the configuration tool that the agent's first run
// started minimized: back from the taskbar, a sample for each slot through
// the file-open dialog, and Save at the speed it offers.
void pickAndSave(const std::wstring& samples) {
    bv::testing::ToolDriver tool;
    tool.window = ba::findWindow(bv::testing::kToolTitle, 30s);
    if (!tool.window)
        fail("the configuration tool did not open");
    ba::saveScreenshot(nullptr, L"3-configuration-tool-minimized");
    ShowWindow(tool.window, SW_RESTORE);
    SetForegroundWindow(tool.window);
    Sleep(500);
    tool.collectControls();
    if (tool.slots.size() != 10)
        fail("the configuration tool shows " + std::to_string(tool.slots.size()) + " slots");
    for (int n = 1; n <= 10; ++n) {
        const std::string failed =
            tool.choose(n, bv::text::narrow(samples) + "\\" + std::to_string(n) + ".bmp");
        if (!failed.empty())
            fail(failed);
    }
    ba::saveScreenshot(nullptr, L"4-top-ten-picked");
    ba::pointerClick(ba::centreOf(tool.button(L"&Save")));
    if (!ba::waitUntil([] { return bv::fs::fileExists(bv::paths::speedNote()); }, 10s))
        fail("Save wrote no speed note");
    say("saved \"" + tool.slotText(1) + "\" ... \"" + tool.slotText(10) + "\" at " +
        bv::note::readNote(bv::paths::speedNote()) + " ms");
    // The restart that the first-run message asks for ends the tool.
    if (HANDLE process =
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ba::windowProcess(tool.window))) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

// Wine writes its registry to disk only every half minute, too late for a
// wallpaper that changes every second: hence a watch on the key itself.
[[noreturn]] void watchWallpaper() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        fail("cannot read the desktop settings");
    using UnixName = char*(CDECL*)(const wchar_t*);
    UnixName unixName = nullptr;
    try {
        unixName = bv::ui::win32::lateFunction<UnixName>("kernel32", "wine_get_unix_file_name");
    } catch (const bv::Failure& failure) {
        fail(std::string("not under Wine: ") + failure.what());
    }
    HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::wstring shown;
    for (;;) {
        // Armed before the read, so that no change slips in between.
        if (RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE) !=
            ERROR_SUCCESS)
            fail("cannot watch the desktop settings");
        wchar_t value[MAX_PATH + 1] = {};
        DWORD size = sizeof value - sizeof value[0];
        DWORD type = 0;
        if (RegQueryValueExW(key, L"Wallpaper", nullptr, &type, reinterpret_cast<BYTE*>(value),
                             &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            value[0] = L'\0';
        if (shown != value) {
            shown = value;
            // An empty line: no wallpaper, the plain desktop.
            char* name = value[0] ? unixName(value) : nullptr;
            std::printf("%s\n", name ? name : "");
            std::fflush(stdout);
            if (name)
                HeapFree(GetProcessHeap(), 0, name);
        }
        WaitForSingleObject(changed, INFINITE);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--wallpaper")
        watchWallpaper();
    if (argc != 3)
        fail("usage: try_driver PACKAGE_FOLDER SAMPLES_FOLDER | --wallpaper");
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
        say("the configuration tool it started: ten picks and Save");
        pickAndSave(samples);
        // Leaving this scope ends the agent: the restart's log-off.
    }

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
