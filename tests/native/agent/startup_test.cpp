#include "datastore/fileops.h"
#include "tests/native/agent/agent_fixture.h"

namespace bv::testing {
namespace {

using ui::Icon;

// From their laid-out top of 120 twips, on a first run as on a normal one.
TEST_F(AgentTest, ButtonsMoveUpBy58TwipsInEveryState) {
    start();
    EXPECT_EQ(bar->Image2.top(), 62);
    EXPECT_EQ(bar->Image3.top(), 62);
    auto normal = startAgain("2500");
    EXPECT_EQ(normal->bar.Image2.top(), 62);
    EXPECT_EQ(normal->bar.Image3.top(), 62);
}

TEST_F(AgentTest, FirstRunAsksForTheTopTenAndStartsTheToolMinimized) {
    putConfigTool();
    sim.answer = [&](const ui::sim::MessageBoxCall&) {
        EXPECT_TRUE(sim.programStarts.empty()) << "the tool starts only after the box is closed";
        return ui::Answer::Ok;
    };
    start();

    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    expectMessageBox(sim.messageBoxes[0], "First Run", "Set your top-ten and restart your pc.",
                     ui::Buttons::Ok, Icon::Information);
    ASSERT_EQ(sim.programStarts.size(), 1u);
    EXPECT_EQ(sim.programStarts[0].path,
              "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Brenlo_kelvo\\"
              "brenlo_kel_vo_config.exe");
    EXPECT_EQ(sim.programStarts[0].windowStyle, 2);
    EXPECT_FALSE(bar->Timer1.enabled());
    EXPECT_EQ(bar->Timer1.interval(), 5000);
    EXPECT_TRUE(bar->form.visible());
    EXPECT_FALSE(sim.ended());
}

TEST_F(AgentTest, FirstRunWithoutDataStoreLeavesNoAgentFolderAndNoToolIsNoError) {
    start();  // no tool installed: its start fails silently
    EXPECT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_TRUE(sim.programStarts.empty());
    EXPECT_FALSE(std::filesystem::exists(fs::hostPath(paths::agentDir())));
    EXPECT_TRUE(bar->form.visible());
}

TEST_F(AgentTest, FirstRunIgnoresBitmapsAndSpeed) {
    makeDataStore();
    putWallpapers();
    putNote(paths::speedNote(), "2500");
    start();
    EXPECT_EQ(sim.messageBoxes.at(0).title, "First Run");
    EXPECT_EQ(bar->sp.text(), "RichTextBox1");
    EXPECT_FALSE(bar->Timer1.enabled());
    EXPECT_TRUE(std::filesystem::is_directory(fs::hostPath(paths::agentDir())));
}

TEST_F(AgentTest, OneMissingBitmapGivesOneMessageAndNoCycling) {
    installNormal("2500");
    fs::deleteFile(paths::wallpaper(7));
    fs::deleteFile(paths::wallpaper(3));
    start();

    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    expectMessageBox(sim.messageBoxes[0], "Missing Filess Error",
                     "An error occured while bitmap loading progress", ui::Buttons::Ok,
                     Icon::Question);
    EXPECT_FALSE(bar->Timer1.enabled());
    EXPECT_EQ(bar->Timer1.interval(), 5000);
    EXPECT_EQ(bar->sp.text(), "RichTextBox1");
    sim.advance(60000);
    EXPECT_TRUE(sim.wallpapers.empty());
}

TEST_F(AgentTest, NormalRunTakesTheIntervalFromTheSpeedNote) {
    const std::pair<const char*, int> cases[] = {
        {"2500", 2500}, {"750 ms", 750}, {"2.5", 2}, {"3.5", 4}, {"1 000", 1000}, {"10000", 10000},
    };
    for (const auto& [text, interval] : cases) {
        auto run = startAgain(text);
        EXPECT_TRUE(run->sim.messageBoxes.empty()) << text;
        EXPECT_TRUE(run->bar.Timer1.enabled()) << text;
        EXPECT_EQ(run->bar.Timer1.interval(), interval) << text;
    }
}

TEST_F(AgentTest, UnreadableOrNonNumericSpeedEnablesATimerThatNeverTicks) {
    for (std::optional<std::string> speed :
         {std::optional<std::string>{}, std::optional<std::string>{"fast"}}) {
        auto run = startAgain(speed);
        EXPECT_EQ(run->bar.sp.text(), speed ? "fast" : "RichTextBox1");
        EXPECT_TRUE(run->bar.Timer1.enabled());
        EXPECT_EQ(run->bar.Timer1.interval(), 0);
        run->sim.advance(120000);
        EXPECT_TRUE(run->sim.wallpapers.empty());
        EXPECT_TRUE(run->sim.messageBoxes.empty());
    }
}

TEST_F(AgentTest, SpeedTheTimerRefusesKeeps5000AndStillEnables) {
    for (const char* text : {"70000", "-5", "99999999999", "1e300"}) {
        auto run = startAgain(text);
        EXPECT_EQ(run->bar.Timer1.interval(), 5000) << text;
        EXPECT_TRUE(run->bar.Timer1.enabled()) << text;
    }
}

TEST_F(AgentTest, SavedPositionIsAppliedThroughAHiddenSettingsWindow) {
    installPlaced("1200", "9000");
    start();

    EXPECT_EQ(bar->form.top(), 1200.0f);
    EXPECT_EQ(bar->form.left(), 9000.0f);
    ASSERT_NE(bar->Form2.loaded(), nullptr);
    EXPECT_FALSE(bar->Form2.loaded()->form.visible());
    // Its load handler ran before the saved place was applied.
    EXPECT_EQ(bar->Form2.loaded()->Slider1.value(), 8355);
    EXPECT_EQ(bar->Form2.loaded()->Slider2.value(), 12630);
}

TEST_F(AgentTest, OnePositionNoteAloneIsIgnored) {
    installNormal("3000");
    drive.makeFolders(paths::agentDir());
    putNote(paths::topNote(), "1200");
    start();
    EXPECT_EQ(bar->form.top(), 8355.0f);
    EXPECT_EQ(bar->form.left(), 12630.0f);
    EXPECT_EQ(bar->Form2.loaded(), nullptr);
}

TEST_F(AgentTest, NonNumericPositionKeepsThatEdgeOnly) {
    drive.makeFolders(paths::agentDir());
    putNote(paths::topNote(), "high");
    putNote(paths::leftNote(), " 9000 ");
    start();
    EXPECT_EQ(bar->form.top(), 8355.0f);
    EXPECT_EQ(bar->form.left(), 9000.0f);
    EXPECT_EQ(sim.messageBoxes.size(), 1u);  // only the first-run message
}

TEST_F(AgentTest, ExistingAgentFolderIsNoError) {
    installNormal("3000");
    drive.makeFolders(paths::agentDir());
    start();
    EXPECT_TRUE(sim.messageBoxes.empty());
    EXPECT_TRUE(bar->Timer1.enabled());
}

}  // namespace
}  // namespace bv::testing
