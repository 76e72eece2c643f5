#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/native/agent/agent_fixture.h"

namespace bv::testing {
namespace {

class CyclingTest : public AgentTest {
  protected:
    std::vector<std::string> shown() const {
        std::vector<std::string> names;
        for (const auto& call : sim.wallpapers)
            names.push_back(call.path.substr(call.path.rfind('\\') + 1));
        return names;
    }
    void togglePause() {
        sim.raise(
            app, [&] { bar->Timer1.setEnabled(!bar->Timer1.enabled()); });
    }
};

TEST_F(CyclingTest, ElevenTickCycleHoldsTheTenthBitmapForTwoIntervals) {
    installNormal("3000");
    start();
    EXPECT_EQ(bar->Text1.text(), "Text1");

    sim.advance(2999);
    EXPECT_TRUE(sim.wallpapers.empty());
    sim.advance(1);
    ASSERT_EQ(sim.wallpapers.size(), 1u);
    EXPECT_EQ(sim.wallpapers[0].path, "C:\\WINDOWS\\b_kelvo\\wallpapers\\1.bmp");
    EXPECT_EQ(bar->Text1.text(), "1");

    sim.advance(27000);  // 30 s: the tenth
    ASSERT_EQ(sim.wallpapers.size(), 10u);
    EXPECT_EQ(sim.wallpapers[9].path, "C:\\WINDOWS\\b_kelvo\\wallpapers\\10.bmp");
    EXPECT_EQ(sim.wallpapers[9].at, 30000);
    EXPECT_EQ(bar->Text1.text(), "10");

    sim.advance(3000);  // 33 s: only the reset
    EXPECT_EQ(sim.wallpapers.size(), 10u);
    EXPECT_EQ(bar->Text1.text(), "0");

    sim.advance(3000);  // 36 s: the first again
    ASSERT_EQ(sim.wallpapers.size(), 11u);
    EXPECT_EQ(shown().back(), "1.bmp");
    EXPECT_EQ(sim.wallpapers.back().at, 36000);

    const std::vector<std::string> expected = {"1.bmp", "2.bmp",  "3.bmp", "4.bmp",
                                               "5.bmp", "6.bmp",  "7.bmp", "8.bmp",
                                               "9.bmp", "10.bmp", "1.bmp"};
    EXPECT_EQ(shown(), expected);
}

TEST_F(CyclingTest, PauseKeepsTheCounter) {
    installNormal("1000");
    start();
    sim.advance(4000);
    ASSERT_EQ(shown().back(), "4.bmp");
    togglePause();
    sim.advance(60000);
    EXPECT_EQ(sim.wallpapers.size(), 4u);
    togglePause();
    sim.advance(1000);
    EXPECT_EQ(shown().back(), "5.bmp");
}

TEST_F(CyclingTest, PausedOnTheTenthTheFirstTickOnlyResets) {
    installNormal("1000");
    start();
    sim.advance(10000);
    ASSERT_EQ(shown().back(), "10.bmp");
    togglePause();
    togglePause();
    sim.advance(1000);
    EXPECT_EQ(sim.wallpapers.size(), 10u);
    EXPECT_EQ(bar->Text1.text(), "0");
    togglePause();  // paused right after the reset
    togglePause();
    sim.advance(1000);
    EXPECT_EQ(shown().back(), "1.bmp");
}

// The same through the play/pause button itself: a click handler that
// reset the counter would show 1.bmp after each resume.
TEST_F(CyclingTest, PlayPauseButtonResumesWhereTheCycleStood) {
    installNormal("1000");
    start();
    sim.advance(4000);
    ASSERT_EQ(shown().back(), "4.bmp");
    sim.click(bar->form, "Image2");
    sim.advance(5000);
    EXPECT_EQ(sim.wallpapers.size(), 4u);
    sim.click(bar->form, "Image2");
    sim.advance(1000);
    EXPECT_EQ(shown().back(), "5.bmp");

    sim.advance(5000);
    ASSERT_EQ(shown().back(), "10.bmp");
    sim.click(bar->form, "Image2");
    sim.advance(5000);
    sim.click(bar->form, "Image2");
    sim.advance(1000);  // one tick that only resets
    EXPECT_EQ(shown().back(), "10.bmp");
    EXPECT_EQ(bar->Text1.text(), "0");
    sim.advance(1000);
    EXPECT_EQ(shown().back(), "1.bmp");
    EXPECT_EQ(sim.wallpapers.size(), 11u);
}

TEST_F(CyclingTest, MissingBitmapAtTickTimeIsStillHandedOverAndCounted) {
    installNormal("1000");
    start();
    fs::deleteFile(paths::wallpaper(2));
    sim.advance(3000);
    EXPECT_EQ(shown(), (std::vector<std::string>{"1.bmp", "2.bmp", "3.bmp"}));
    EXPECT_TRUE(sim.messageBoxes.empty());
}

TEST_F(CyclingTest, MenuButtonLightsForOneTickInEight) {
    start();  // first run: the wallpaper timer is off, the blink runs anyway
    std::vector<int> pictures;
    for (int tick = 1; tick <= 17; ++tick) {
        sim.advance(500);
        pictures.push_back(bar->Image3.picture().resource.resource);
    }
    const int L = BV_BMP_LIT, D = BV_BMP_DIM;
    EXPECT_EQ(pictures, (std::vector<int>{L, D, D, D, D, D, D, D, L, D, D, D, D, D, D, D, L}));
    EXPECT_EQ(bar->blinkStep, 1);
}

TEST_F(CyclingTest, TicksKeepComingWhileAMessageBoxIsOpen) {
    installNormal("1000");
    start();
    // A box opened by some handler stays open for 5 s; the cycle goes on.
    sim.answer = [&](const ui::sim::MessageBoxCall&) {
        sim.advance(5000);
        return ui::Answer::Ok;
    };
    sim.raise(app, [&] { app.msgBox("busy", ui::Buttons::Ok, ui::Icon::None, "t"); });
    EXPECT_EQ(sim.wallpapers.size(), 5u);
}

}  // namespace
}  // namespace bv::testing
