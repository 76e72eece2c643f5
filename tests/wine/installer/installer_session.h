#pragma once
// setup and uninstall under Wine: a system without the product, a test
// package in C:\pkg, and the programs' message boxes answered as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "tests/wine/support/message_boxes.h"
#include "tests/wine/support/test_files.h"

namespace bv::testing {

using namespace std::chrono_literals;
namespace ba = bv::automation;
namespace sfs = std::filesystem;

inline const char* const kLibraries[] = {"comdlg32.ocx", "RICHTX32.OCX", "MSCOMCTL.OCX"};

class InstallerSession : public ::testing::Test {
  protected:
    void SetUp() override { clean(); }
    void TearDown() override {
        for (auto& process : processes)
            process.kill();
        clean();
    }

    static void clean() {
        std::error_code ec;
        sfs::remove_all(hostPath(paths::startMenuFolder()), ec);
        sfs::remove(hostPath(paths::agentStartupExe()), ec);
        sfs::remove_all(hostPath(paths::dataDir()), ec);
        sfs::remove_all(kPackage, ec);
        for (const char* library : kLibraries)
            sfs::remove(hostPath(paths::systemLibrary(library)), ec);
    }

    // What a package carries besides setup.exe and the two main programs.
    struct Package {
        bool agent = true;
        bool readme = true;
        std::vector<std::string> libraries{};
    };
    static void makePackage(const Package& package) {
        sfs::create_directories(sfs::path(kPackage) / L"Data");
        const auto data = sfs::path(kPackage) / L"Data";
        sfs::copy_file(fromUnix(BV_SETUP_EXE), sfs::path(kPackage) / L"setup.exe");
        // setup never starts the tool: any bytes stand in for it.
        put(data / L"brenlo_kel_vo_config.exe", "MZ stand-in configuration tool");
        if (package.agent)
            sfs::copy_file(fromUnix(BV_AGENT_EXE), data / L"brenlo_kel_vo.exe");
        sfs::copy_file(fromUnix(BV_UNINSTALL_EXE), data / L"uninstall.exe");
        if (package.readme)
            sfs::copy_file(fromUnix(BV_README), data / L"readme.zip");
        for (const std::string& library : package.libraries)
            put(data / hostPath(library), "package " + library);
    }
    static void put(const sfs::path& file, const std::string& bytes) {
        sfs::create_directories(file.parent_path());
        fs::writeFileAtomically(narrowPath(file), bytes);
    }
    static std::string narrowPath(const sfs::path& path) {
        const std::wstring wide = path.wstring();
        return std::string(wide.begin(), wide.end());
    }
    static std::string content(const std::string& path) {
        return fs::fileExists(path) ? fs::readFile(path) : "(absent)";
    }
    static bool exists(const std::string& path) { return sfs::exists(hostPath(path)); }

    ba::Process& start(const std::wstring& program, const std::wstring& directory = L"") {
        processes.push_back(ba::Process::start(program, L"", SW_SHOWNORMAL, directory));
        return processes.back();
    }
    ba::Process& startSetup(const std::wstring& directory = kPackage) {
        return start(std::wstring(kPackage) + L"\\setup.exe", directory);
    }

    static void expectEnds(const ba::Process& process) {
        EXPECT_TRUE(process.waitForExit(20s).has_value()) << "still running";
    }
    // The process's visible top-level windows that are not message boxes.
    static std::vector<HWND> windowsShown(const ba::Process& process) {
        std::vector<HWND> shown;
        for (HWND w : ba::topLevelWindows(process.id()))
            if (IsWindowVisible(w) && ba::windowClass(w) != L"#32770")
                shown.push_back(w);
        return shown;
    }

    static constexpr const wchar_t* kPackage = L"C:\\pkg";
    std::deque<ba::Process> processes;  // references stay valid
};

}  // namespace bv::testing
