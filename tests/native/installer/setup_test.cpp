// setup's confirmation and five timed steps on the simulated desktop.
#include <memory>
#include <string>
#include <vector>

#include "installer/setup_window.h"
#include "tests/native/installer/installer_fixture.h"
#include "ui/controls/label.h"

namespace bv::testing {
namespace {

using ui::sim::MessageBoxCall;

class SetupTest : public InstallerTest {
  protected:
    // A run of its own: loaded and shown as the program does, answering the
    // confirmation with `answer`.
    struct Run {
        ui::sim::SimPlatform sim;
        ui::App app{sim, "setup"};
        installer::SetupWindow window{app};
    };
    std::unique_ptr<Run> start(ui::Answer answer) const {
        auto run = std::make_unique<Run>();
        run->sim.answer = [answer](const MessageBoxCall& box) {
            return box.title == "Confirm setup" ? answer : ui::Answer::Ok;
        };
        run->sim.raise(run->app, [&] {
            run->window.form.load();
            run->window.form.show();
        });
        return run;
    }
    // Lets the steps run until the program ends.
    static void finish(Run& run) { run.sim.advance(1000); }
};

TEST_F(SetupTest, NoAtTheConfirmationShowsNoWindowAndInstallsNothing) {
    putFullPackage();
    auto run = start(ui::Answer::No);
    ASSERT_EQ(run->sim.messageBoxes.size(), 1u);
    expectMessageBox(run->sim.messageBoxes[0], "Confirm setup",
                     "Do you want install brenlo vistrel for your computer", ui::Buttons::YesNo,
                     ui::Icon::Question);
    EXPECT_TRUE(run->sim.ended());
    EXPECT_FALSE(run->window.form.visible());
    EXPECT_FALSE(std::filesystem::exists(fs::hostPath(paths::startMenuFolder())));
}

TEST_F(SetupTest, FiveStepsOnFiveTicksPlaceEveryFileThenThank) {
    putFullPackage();
    drive.put(paths::systemLibrary("comdlg32.ocx"), "system comdlg32");
    drive.put(paths::systemLibrary("RICHTX32.OCX"), "system richtx32");
    auto run = start(ui::Answer::Yes);
    ui::Label& status = run->window.Label1;
    EXPECT_TRUE(run->window.form.visible());
    EXPECT_EQ(status.caption(), "_");

    struct Seen {
        std::string status;
        bool folder;
        std::string tool, readme;
    };
    std::vector<Seen> seen;
    for (int tick = 1; tick <= 4; ++tick) {
        run->sim.advance(60);
        seen.push_back({status.caption(),
                        std::filesystem::exists(fs::hostPath(paths::startMenuFolder())),
                        content(paths::configToolExe()), content(paths::readmeTxt())});
    }
    const std::string tool = "package brenlo_kel_vo_config.exe";
    const std::string readme = "package readme.zip";
    EXPECT_EQ(seen[0].status, "Loading setup...");
    EXPECT_FALSE(seen[0].folder);
    EXPECT_EQ(seen[1].status, "Creating start Menu item...");
    EXPECT_TRUE(seen[1].folder);
    EXPECT_EQ(seen[1].tool, "(absent)");
    EXPECT_EQ(seen[2].status, "Copying new items...");
    EXPECT_EQ(seen[2].tool, tool);
    EXPECT_EQ(seen[2].readme, "(absent)");
    EXPECT_EQ(seen[3].status, "Regitering product...");
    EXPECT_EQ(seen[3].readme, readme);
    EXPECT_EQ(run->sim.messageBoxes.size(), 1u) << "only the confirmation so far";

    run->sim.advance(60);
    EXPECT_EQ(status.caption(), "Completed.");
    ASSERT_EQ(run->sim.messageBoxes.size(), 2u);
    const MessageBoxCall& closing = run->sim.messageBoxes[1];
    expectMessageBox(closing, "Completed", "Thank You for selecting Brenlo kelvotop.",
                     ui::Buttons::Ok, ui::Icon::Information);
    EXPECT_EQ(closing.at, 5 * 60);
    EXPECT_TRUE(run->sim.ended());

    EXPECT_EQ(content(paths::agentStartupExe()), "package brenlo_kel_vo.exe");
    EXPECT_EQ(content(paths::uninstallExe()), "package uninstall.exe");
    // Libraries only where the system has them.
    EXPECT_EQ(content(paths::systemLibrary("comdlg32.ocx")), "package comdlg32.ocx");
    EXPECT_EQ(content(paths::systemLibrary("RICHTX32.OCX")), "package RICHTX32.OCX");
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "(absent)");
    EXPECT_FALSE(std::filesystem::exists(fs::hostPath(paths::dataDir())));
    // At the fixed paths where a log-on, the Start Menu and the tool look.
    EXPECT_EQ(content("C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup\\"
                      "brenlo_kel_vo.exe"),
              "package brenlo_kel_vo.exe");
    EXPECT_EQ(content("C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Brenlo_kelvo\\"
                      "brenlo_kel_vo_config.exe"),
              tool);
    EXPECT_EQ(content("C:\\WINDOWS\\system32\\RICHTX32.OCX"), "package RICHTX32.OCX");
}

TEST_F(SetupTest, PackageWithoutTheAgentStopsAtTheFirstStep) {
    putFullPackage();
    fs::deleteFile("Data\\brenlo_kel_vo.exe");
    auto run = start(ui::Answer::Yes);
    bool timerOffDuringBox = false;
    run->sim.answer = [&](const MessageBoxCall&) {
        timerOffDuringBox = !run->window.Timer1.enabled();
        return ui::Answer::Ok;
    };
    finish(*run);
    EXPECT_EQ(run->window.Label1.caption(), "Loading setup...");
    ASSERT_EQ(run->sim.messageBoxes.size(), 2u);
    expectMessageBox(run->sim.messageBoxes[1], "Error", "Cannot find installation file(s)",
                     ui::Buttons::Ok, ui::Icon::Stop);
    EXPECT_TRUE(timerOffDuringBox);
    EXPECT_TRUE(run->sim.ended());
    EXPECT_FALSE(std::filesystem::exists(fs::hostPath(paths::startMenuFolder())));
}

TEST_F(SetupTest, ClosingMessageNamesEveryFileNotPlacedWithTheWarningIcon) {
    for (const char* name : {"brenlo_kel_vo_config.exe", "brenlo_kel_vo.exe"})
        putPackageFile(name);
    drive.put(paths::systemLibrary("MSCOMCTL.OCX"), "system mscomctl");
    std::filesystem::remove_all(fs::hostPath(paths::startupFolder()));
    auto run = start(ui::Answer::Yes);
    finish(*run);
    ASSERT_EQ(run->sim.messageBoxes.size(), 2u);
    const MessageBoxCall& closing = run->sim.messageBoxes[1];
    EXPECT_EQ(closing.title, "Completed");
    EXPECT_EQ(closing.icon, ui::Icon::Exclamation);
    for (const std::string& named :
         {paths::agentStartupExe(), paths::uninstallExe(), paths::readmeTxt(),
          std::string("Data\\uninstall.exe"), std::string("Data\\readme.zip")})
        EXPECT_NE(closing.prompt.find(named), std::string::npos) << named;
    EXPECT_EQ(closing.prompt.find(paths::configToolExe()), std::string::npos);
    // A library the package lacks is skipped without a word.
    EXPECT_EQ(closing.prompt.find("MSCOMCTL"), std::string::npos);
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "system mscomctl");
    EXPECT_EQ(content(paths::configToolExe()), "package brenlo_kel_vo_config.exe");
}

}  // namespace
}  // namespace bv::testing
