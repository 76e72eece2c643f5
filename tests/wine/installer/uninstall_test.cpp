// uninstall under Wine, started from its Start Menu copy as a user starts it.
#include "datastore/note.h"
#include "tests/wine/installer/installer_session.h"
#include "tests/wine/support/installed_files.h"
#include "tests/wine/support/message_boxes.h"

namespace bv::testing {
namespace {

class UninstallSession : public InstallerSession {
  protected:
    // What setup leaves, and a data store with its marker.
    void SetUp() override {
        InstallerSession::SetUp();
        sfs::create_directories(hostPath(paths::startMenuFolder()));
        put(hostPath(paths::configToolExe()), "MZ stand-in configuration tool");
        sfs::copy_file(fromUnix(BV_AGENT_EXE), hostPath(paths::agentStartupExe()));
        sfs::copy_file(fromUnix(BV_README), hostPath(paths::readmeTxt()));
        sfs::copy_file(fromUnix(BV_UNINSTALL_EXE), hostPath(paths::uninstallExe()));
        sfs::create_directories(hostPath(paths::wallpapersDir()));
        note::writeNote(paths::okNote(), "Top ten saved.");
        marker = fs::readFile(paths::okNote());
    }

    static std::string installed() { return installedFiles(); }

    // The next box, checked to be all that the program shows.
    ba::MessageBoxInfo nextBox(const ba::Process& uninstall) {
        ba::MessageBoxInfo info = nextMessageBox(uninstall);
        EXPECT_TRUE(windowsShown(uninstall).empty()) << "a window besides the box";
        for (HWND w : ba::topLevelWindows(uninstall.id()))
            EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        return info;
    }

    ba::Process& startUninstall() { return start(text::widen(paths::uninstallExe())); }

    std::string marker;
};

TEST_F(UninstallSession, NoKeepsEverythingIncludingTheUninstaller) {
    ba::Process& uninstall = startUninstall();
    const ba::MessageBoxInfo confirm = nextBox(uninstall);
    expectMessageBox(confirm, L"Confirm Uninstall setup",
                     L"Do you want Uninstall brenlo vistrel from your computer.",
                     ba::MessageIcon::Question);
    EXPECT_EQ(confirm.defaultButton, L"&Yes");
    answer(confirm, L"No");
    expectEnds(uninstall);
    EXPECT_EQ(installed(), "1111");
}

TEST_F(UninstallSession, YesRemovesTheFilesThenItsOwnRunningCopyAndLeavesTheData) {
    ba::Process& uninstall = startUninstall();
    answer(nextBox(uninstall), L"Yes");
    const ba::MessageBoxInfo report = nextBox(uninstall);
    expectMessageBox(report, L"Uninstall", L"Brenlo Kelvo was uninstalled.",
                     ba::MessageIcon::Information);
    EXPECT_EQ(installed(), "0001");
    answer(report, L"OK");
    expectEnds(uninstall);
    // Wine, like Windows, refuses to delete the running program's file: it
    // goes once the program has ended.
    EXPECT_TRUE(ba::waitUntil([] { return installed() == "0000"; }, 20s)) << installed();
    EXPECT_FALSE(ba::waitForMessageBox(uninstall.id(), 0ms));
    EXPECT_TRUE(sfs::is_empty(hostPath(paths::startMenuFolder())));
    EXPECT_EQ(fs::readFile(paths::okNote()), marker);
}

TEST_F(UninstallSession, OwnCopyHeldOpenGoesOnceItIsReleased) {
    // Held without delete sharing: refused even where a running program's
    // file could be deleted.
    HANDLE held = CreateFileW(text::widen(paths::uninstallExe()).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ba::Process& uninstall = startUninstall();
    answer(nextBox(uninstall), L"Yes");
    answer(nextBox(uninstall), L"OK");
    expectEnds(uninstall);
    EXPECT_TRUE(exists(paths::uninstallExe()));
    CloseHandle(held);
    EXPECT_TRUE(ba::waitUntil([] { return installed() == "0000"; }, 20s)) << installed();
}

TEST_F(UninstallSession, ToolRemovedAlreadyIsNamedAndNothingIsDeleted) {
    fs::deleteFile(paths::configToolExe());
    ba::Process& uninstall = startUninstall();
    answer(nextBox(uninstall), L"Yes");
    const ba::MessageBoxInfo error = nextBox(uninstall);
    const std::string prompt = text::narrow(error.prompt);
    EXPECT_NE(prompt.find("File not found: " + paths::configToolExe()), std::string::npos)
        << prompt;
    EXPECT_EQ(error.icon, ba::MessageIcon::Stop);
    EXPECT_EQ(error.buttons.size(), 1u);
    answer(error, L"OK");
    expectEnds(uninstall);
    EXPECT_EQ(installed(), "0111");
}

TEST_F(UninstallSession, RunningAgentIsNamedAndStopsTheUninstall) {
    nextMessageBox(start(text::widen(paths::agentStartupExe())));  // its first-run message: it runs
    ba::Process& uninstall = startUninstall();
    answer(nextBox(uninstall), L"Yes");
    const ba::MessageBoxInfo error = nextBox(uninstall);
    const std::string prompt = text::narrow(error.prompt);
    EXPECT_NE(prompt.find("Permission denied: " + paths::agentStartupExe()), std::string::npos)
        << prompt;
    answer(error, L"OK");
    expectEnds(uninstall);
    EXPECT_EQ(installed(), "0111");
}

}  // namespace
}  // namespace bv::testing
