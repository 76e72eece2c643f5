#include "datastore/fileops.h"
#include "tests/native/agent/agent_fixture.h"

namespace bv::testing {
namespace {

class SettingsTest : public AgentTest {
  protected:
    agent::SettingsWindow& openSettings() {
        sim.run(app, [&] { bar->frty_Click(); });
        return *bar->Form2.loaded();
    }
    std::string noteText(const std::string& path) { return note::readNote(path); }
};

TEST_F(SettingsTest, SlidersMoveTheBarLiveAndOkSavesBothEdges) {
    makeDataStore();
    start();  // creates the agent folder
    auto& settings = openSettings();
    EXPECT_EQ(settings.Slider1.value(), 8355);
    EXPECT_EQ(settings.Slider2.value(), 12630);

    sim.scroll(settings.form, "Slider1", 1000);
    EXPECT_EQ(bar->form.top(), 1000.0f);
    EXPECT_EQ(bar->form.left(), 12630.0f);
    sim.scroll(settings.form, "Slider2", 14000);
    EXPECT_EQ(bar->form.left(), 14000.0f);

    sim.click(settings.form, "Command2");
    EXPECT_EQ(noteText(paths::topNote()), "1000");
    EXPECT_EQ(noteText(paths::leftNote()), "14000");
    EXPECT_EQ(bar->Form2.loaded(), nullptr);
    EXPECT_TRUE(sim.messageBoxes.size() == 1u);  // only the first-run message
}

TEST_F(SettingsTest, WindowLoadedHiddenAtStartShowsWhereTheBarStandsNow) {
    installNormal("3000");
    drive.makeFolders(paths::agentDir());
    putNote(paths::topNote(), "1200");
    putNote(paths::leftNote(), "9000");
    start();
    auto& settings = openSettings();
    EXPECT_EQ(settings.Slider1.value(), 1200);
    EXPECT_EQ(settings.Slider2.value(), 9000);
    sim.click(settings.form, "Command2");  // Ok at once keeps the saved place
    EXPECT_EQ(noteText(paths::topNote()), "1200");
    EXPECT_EQ(noteText(paths::leftNote()), "9000");
}

TEST_F(SettingsTest, PlaceOutsideTheSliderRangesIsHeldWithinThem) {
    installNormal("3000");
    drive.makeFolders(paths::agentDir());
    putNote(paths::topNote(), "20000");
    putNote(paths::leftNote(), "-300");
    start();
    EXPECT_EQ(bar->form.top(), 20000.0f);  // the bar itself goes where the notes say
    auto& settings = openSettings();
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(settings.Slider1.value(), 10000);
    EXPECT_EQ(settings.Slider2.value(), 8000);
}

TEST_F(SettingsTest, ClosingWithoutOkKeepsTheFilesAndTheNewPlace) {
    makeDataStore();
    start();
    auto& settings = openSettings();
    sim.scroll(settings.form, "Slider1", 3000);
    sim.run(app, [&] { settings.form.unload(); });
    EXPECT_EQ(bar->form.top(), 3000.0f);
    EXPECT_FALSE(fs::fileExists(paths::topNote()));
    auto& again = openSettings();  // made anew: it reads the bar's place again
    EXPECT_EQ(again.Slider1.value(), 3000);
}

TEST_F(SettingsTest, UnwritablePositionIsReportedAndTheAgentGoesOn) {
    installNormal("1000");
    start();  // the agent folder exists now
    auto& settings = openSettings();
    sim.scroll(settings.form, "Slider1", 2000);
    std::filesystem::remove_all(fs::hostPath(paths::agentDir()));
    sim.click(settings.form, "Command2");

    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_NE(sim.messageBoxes[0].prompt.find("could not be saved"), std::string::npos);
    EXPECT_FALSE(sim.ended());
    EXPECT_NE(bar->Form2.loaded(), nullptr);
    sim.advance(3000);
    EXPECT_EQ(sim.wallpapers.size(), 3u);
}

TEST_F(SettingsTest, SecondFileFailingLeavesTheFirstWithItsNewValue) {
    makeDataStore();
    start();
    drive.makeFolders(paths::leftNote());  // a folder where the note should go
    auto& settings = openSettings();
    sim.scroll(settings.form, "Slider1", 4321);
    sim.click(settings.form, "Command2");
    EXPECT_EQ(noteText(paths::topNote()), "4321");
    EXPECT_EQ(sim.messageBoxes.size(), 2u);
    EXPECT_FALSE(sim.ended());
}

}  // namespace
}  // namespace bv::testing
