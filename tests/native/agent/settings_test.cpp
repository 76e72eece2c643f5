#include "datastore/fileops.h"
#include "tests/native/agent/agent_fixture.h"

namespace bv::testing {
namespace {

class SettingsTest : public AgentTest {
  protected:
    agent::SettingsWindow& openSettings() {
        sim.raise(app, [&] { bar->frty_Click(); });
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
    // At the fixed path where the next start reads it.
    EXPECT_EQ(noteText("C:\\WINDOWS\\b_kelvo\\agent\\left.note"), "14000");
    EXPECT_EQ(bar->Form2.loaded(), nullptr);
    EXPECT_TRUE(sim.messageBoxes.size() == 1u);  // only the first-run message
}

TEST_F(SettingsTest, WindowLoadedHiddenAtStartShowsWhereTheBarStandsNow) {
    installPlaced("1200", "9000");
    start();
    auto& settings = openSettings();
    EXPECT_EQ(settings.Slider1.value(), 1200);
    EXPECT_EQ(settings.Slider2.value(), 9000);
    sim.click(settings.form, "Command2");  // Ok at once keeps the saved place
    EXPECT_EQ(noteText(paths::topNote()), "1200");
    EXPECT_EQ(noteText(paths::leftNote()), "9000");
}

TEST_F(SettingsTest, PlaceOutsideTheSliderRangesIsHeldWithinThem) {
    installPlaced("20000", "-300");
    start();
    EXPECT_EQ(bar->form.top(), 20000.0f);  // the bar itself goes where the notes say
    auto& settings = openSettings();
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(settings.Slider1.value(), 10000);
    EXPECT_EQ(settings.Slider2.value(), 8000);
}

// Hand-edited notes, then "&Ok" at once: what is saved lies within the
// slider ranges. A place that no 32-bit whole number of twips holds is
// refused at start-up, so the bar keeps its laid-out edge; "2147483647"
// reads as the single 2^31, one beyond.
TEST_F(SettingsTest, SavedValuesAfterAClampLieWithinTheRanges) {
    struct Case {
        const char *top, *left;
        float barTop, barLeft;
        const char *savedTop, *savedLeft;
    };
    const Case cases[] = {Case{"2147483647", "9000", 8355.0f, 9000.0f, "8355", "9000"},
                          Case{"-2147483649", "99999", -2147483648.0f, 99999.0f, "1000", "15000"},
                          Case{"1e10", "-300", 8355.0f, -300.0f, "8355", "8000"},
                          Case{"2147483520", "7999.5", 2147483520.0f, 7999.5f, "10000", "8000"},
                          Case{"20000", "1e10", 20000.0f, 12630.0f, "10000", "12630"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " / " + c.left);
        drive.clear();
        installPlaced(c.top, c.left);
        Run run;
        run.sim.raise(run.app, [&] {
            run.bar.form.load();
            run.bar.form.show();
        });
        EXPECT_EQ(run.bar.form.top(), c.barTop);
        EXPECT_EQ(run.bar.form.left(), c.barLeft);
        run.sim.raise(run.app, [&] { run.bar.frty_Click(); });
        ASSERT_NE(run.bar.Form2.loaded(), nullptr);
        run.sim.click(run.bar.Form2.loaded()->form, "Command2");
        EXPECT_TRUE(run.sim.messageBoxes.empty());
        EXPECT_FALSE(run.sim.ended());
        EXPECT_EQ(noteText(paths::topNote()), c.savedTop);
        EXPECT_EQ(noteText(paths::leftNote()), c.savedLeft);
    }
}

TEST_F(SettingsTest, ClosingWithoutOkKeepsTheFilesAndTheNewPlace) {
    makeDataStore();
    start();
    auto& settings = openSettings();
    sim.scroll(settings.form, "Slider1", 3000);
    sim.raise(app, [&] { settings.form.unload(); });
    EXPECT_EQ(bar->form.top(), 3000.0f);
    EXPECT_FALSE(fs::fileExists(paths::topNote()));
    auto& again = openSettings();  // made anew: it reads the bar's place again
    EXPECT_EQ(again.Slider1.value(), 3000);
}

TEST_F(SettingsTest, CloseBoxAfterAMoveKeepsTheSavedPlaceForTheNextStart) {
    installPlaced("1200", "9000");
    const std::string savedTop = drive.get(paths::topNote());
    const std::string savedLeft = drive.get(paths::leftNote());
    start();
    auto& settings = openSettings();
    sim.scroll(settings.form, "Slider1", 3000);
    sim.scroll(settings.form, "Slider2", 14000);
    sim.raise(app, [&] { settings.form.unload(); });  // the close box
    EXPECT_EQ(bar->Form2.loaded(), nullptr);
    EXPECT_EQ(bar->form.top(), 3000.0f);
    EXPECT_EQ(bar->form.left(), 14000.0f);
    EXPECT_EQ(drive.get(paths::topNote()), savedTop);
    EXPECT_EQ(drive.get(paths::leftNote()), savedLeft);

    Run next;  // the next start
    next.sim.raise(next.app, [&] { next.bar.form.load(); });
    EXPECT_EQ(next.bar.form.top(), 1200.0f);
    EXPECT_EQ(next.bar.form.left(), 9000.0f);
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
