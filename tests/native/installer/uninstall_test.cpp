// uninstall on the simulated desktop: its deletions in order, the report,
// and its own copy last, as the program ends. Its answers and failures are
// tested under Wine.
#include <memory>
#include <string>

#include "datastore/note.h"
#include "installer/uninstaller.h"
#include "tests/native/installer/installer_fixture.h"

namespace bv::testing {
namespace {

using ui::sim::MessageBoxCall;

class UninstallTest : public InstallerTest {
  protected:
    UninstallTest() {
        for (const std::string& file : {paths::configToolExe(), paths::agentStartupExe(),
                                        paths::readmeTxt(), paths::uninstallExe()})
            drive.put(file, "installed");
        drive.makeFolders(paths::wallpapersDir());
        drive.put(paths::okNote(), note::toRtf("Top ten saved."));
    }

    // Runs the program, answering the confirmation with `answer`; what was
    // installed at each message box is recorded.
    void run(ui::Answer answer) {
        sim.answer = [&, answer](const MessageBoxCall& box) {
            installedAtBox.push_back(installed());
            return box.title == "Confirm Uninstall setup" ? answer : ui::Answer::Ok;
        };
        sim.raise(app, [&] { uninstaller.form.load(); });
    }
    static std::string installed() {
        std::string present;
        for (const std::string& file : {paths::configToolExe(), paths::agentStartupExe(),
                                        paths::readmeTxt(), paths::uninstallExe()})
            present += fs::fileExists(file) ? "1" : "0";
        return present;
    }

    ui::App app{sim, "uninstall"};
    installer::Uninstaller uninstaller{app};
    std::vector<std::string> installedAtBox;
};

TEST_F(UninstallTest, YesDeletesTheThreeFilesReportsThenDeletesItsOwnCopy) {
    run(ui::Answer::Yes);
    ASSERT_EQ(sim.messageBoxes.size(), 2u);
    expectMessageBox(sim.messageBoxes[1], "Uninstall", "Brenlo Kelvo was uninstalled.",
                     ui::Buttons::Ok, ui::Icon::Information);
    EXPECT_EQ(installedAtBox, (std::vector<std::string>{"1111", "0001"}));
    EXPECT_EQ(installed(), "0000");
    EXPECT_TRUE(sim.ended());
    EXPECT_FALSE(uninstaller.form.visible());
    EXPECT_TRUE(std::filesystem::is_empty(fs::hostPath(paths::startMenuFolder())));
    EXPECT_TRUE(fs::fileExists(paths::okNote()));
    EXPECT_TRUE(std::filesystem::is_directory(fs::hostPath(paths::wallpapersDir())));
}

TEST_F(UninstallTest, OwnCopyThatCannotBeDeletedIsLeftToTheHelperOnlyWhenItIsTheRunningFile) {
    fs::deleteFile(paths::uninstallExe());  // the last deletion fails
    std::vector<std::string> handedOver;
    uninstaller.deleteOwnFileLater = [&](const std::string& path) {
        handedOver.push_back(path);
        return false;  // not the running program's file
    };
    run(ui::Answer::Yes);
    EXPECT_EQ(handedOver, (std::vector<std::string>{paths::uninstallExe()}));
    ASSERT_EQ(sim.messageBoxes.size(), 3u);
    EXPECT_NE(sim.messageBoxes[2].prompt.find("File not found: " + paths::uninstallExe()),
              std::string::npos);
    EXPECT_TRUE(sim.ended());
}

}  // namespace
}  // namespace bv::testing
