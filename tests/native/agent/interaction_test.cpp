#include "datastore/fileops.h"
#include "resources/resource_ids.h"
#include "tests/native/agent/agent_fixture.h"
#include "ui/controls/image.h"

namespace bv::testing {
namespace {

int picture(const ui::Image& image) {
    return image.picture().resource.resource;
}

TEST_F(AgentTest, PlayPauseTogglesTheWallpaperTimerAndItsGlyph) {
    start();  // first run: the timer is off, yet the pause glyph shows as laid out
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PAUSE);
    sim.click(bar->form, "Image2");
    EXPECT_TRUE(bar->Timer1.enabled());
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PAUSE);
    sim.advance(4999);
    EXPECT_TRUE(sim.wallpapers.empty());
    sim.advance(1);
    EXPECT_EQ(sim.wallpapers.size(), 1u);  // 5000 ms, the laid-out interval

    sim.click(bar->form, "Image2");
    EXPECT_FALSE(bar->Timer1.enabled());
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PLAY);
    sim.advance(60000);
    EXPECT_EQ(sim.wallpapers.size(), 1u);
}

// From the keyboard: Space is the button's click; the context-menu key and
// Shift+F10 open the same menu at the bar; other keys do nothing.
TEST_F(AgentTest, KeyboardTogglesPlayPauseAndOpensTheMenuAtTheBar) {
    start();
    sim.chooseMenuItem = [](ui::Form&) { return -1; };
    sim.keyDown(bar->form, ui::Key::Space);
    EXPECT_TRUE(bar->Timer1.enabled());
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PAUSE);
    sim.keyDown(bar->form, ui::Key::Space, ui::kCtrlKey);
    sim.keyDown(bar->form, ui::Key::F10);
    sim.keyDown(bar->form, 'A');
    EXPECT_TRUE(bar->Timer1.enabled());
    EXPECT_TRUE(sim.menuPlaces.empty());
    sim.keyDown(bar->form, ui::Key::Space);
    EXPECT_FALSE(bar->Timer1.enabled());
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PLAY);

    sim.keyDown(bar->form, ui::Key::Apps);
    sim.keyDown(bar->form, ui::Key::F10, ui::kShiftKey);
    sim.mouseDown(bar->form, "Image3", 1);
    EXPECT_EQ(sim.menuPlaces,
              (std::vector<ui::MenuPlace>{ui::MenuPlace::Window, ui::MenuPlace::Window,
                                          ui::MenuPlace::Pointer}));
}

TEST_F(AgentTest, HoverHighlightLastsUntilTheMouseCrossesTheBackground) {
    installNormal("3000");
    start();
    sim.mouseMove(bar->form, "Image2");
    EXPECT_EQ(picture(bar->Image2), BV_BMP_LIT);
    sim.advance(10000);
    EXPECT_EQ(picture(bar->Image2), BV_BMP_LIT);
    sim.mouseMove(bar->form, "Image1");
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PAUSE);
    sim.click(bar->form, "Image2");
    sim.mouseMove(bar->form, "Image2");
    sim.mouseMove(bar->form, "Image1");
    EXPECT_EQ(picture(bar->Image2), BV_BMP_PLAY);
}

TEST_F(AgentTest, MenuOpensFromTheBackgroundsRightButtonAndAnyButtonOfTheMenuButton) {
    start();
    int opened = 0;
    sim.chooseMenuItem = [&](ui::Form&) {
        ++opened;
        return -1;
    };
    sim.mouseDown(bar->form, "Image1", 1);
    sim.mouseDown(bar->form, "Image1", 4);
    EXPECT_EQ(opened, 0);
    sim.mouseDown(bar->form, "Image1", 2);
    EXPECT_EQ(opened, 1);
    for (int button : {1, 2, 4})
        sim.mouseDown(bar->form, "Image3", button);
    EXPECT_EQ(opened, 4);
}

// The menu as it opens, and what each place in it does: the user picks by
// place, so the separator before Exit must be the fourth.
TEST_F(AgentTest, MenuHasFiveItemsWithTheSeparatorBeforeExit) {
    putConfigTool();
    start();
    std::vector<std::string> captions;
    int place = 0;
    sim.chooseMenuItem = [&](ui::Form& shown) {
        captions.clear();
        for (const auto& item : shown.menu())
            captions.push_back(item.caption());
        return place;
    };
    sim.answer = [](const ui::sim::MessageBoxCall&) { return ui::Answer::No; };
    auto choose = [&](int at) {
        place = at;
        sim.mouseDown(bar->form, "Image1", 2);
    };
    choose(0);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Settings...", "Position...", "About", "-", "Exit"}));
    EXPECT_EQ(sim.programStarts.size(), 2u);  // the first run's start, then Settings...
    choose(1);
    EXPECT_NE(bar->Form2.loaded(), nullptr);
    choose(2);
    EXPECT_NE(bar->Form3.loaded(), nullptr);
    choose(4);
    EXPECT_EQ(sim.messageBoxes.back().prompt, "Do you want to close brenlo vistrel v1.0");
}

class MenuTest : public AgentTest {
  protected:
    void choose(const std::string& item) {
        const auto& menu = bar->form.menu();
        int index = 0;
        while (menu[static_cast<std::size_t>(index)].name() != item)
            ++index;
        sim.chooseMenuItem = [index](ui::Form&) { return index; };
        sim.mouseDown(bar->form, "Image3", 1);
    }
};

TEST_F(MenuTest, SettingsStartsTheToolMinimizedEachTimeAndIgnoresAMissingOne) {
    start();  // the first run's own start fails: no tool yet
    sim.messageBoxes.clear();
    choose("rtuy67");
    EXPECT_TRUE(sim.programStarts.empty());
    EXPECT_TRUE(sim.messageBoxes.empty());
    EXPECT_FALSE(sim.ended());
    putConfigTool();
    choose("rtuy67");
    choose("rtuy67");
    ASSERT_EQ(sim.programStarts.size(), 2u);
    EXPECT_EQ(sim.programStarts[1].windowStyle, 2);
}

TEST_F(MenuTest, PositionShowsOneSettingsWindow) {
    start();
    choose("frty");
    auto* settings = bar->Form2.loaded();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->form.visible());
    choose("frty");
    EXPECT_EQ(bar->Form2.loaded(), settings);
}

TEST_F(MenuTest, AboutShowsOneAboutWindowThatTakesTheActivationBack) {
    start();
    choose("rtyry");
    auto* about = bar->Form3.loaded();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(sim.active(), &about->form);
    choose("rtyry");
    EXPECT_EQ(bar->Form3.loaded(), about);

    sim.activate(bar->form);  // the user clicks the bar
    EXPECT_EQ(sim.active(), &about->form);

    sim.click(about->form, "Command1");  // "A&ccept" closes it for good
    EXPECT_EQ(bar->Form3.loaded(), nullptr);
    sim.activate(bar->form);
    EXPECT_EQ(sim.active(), &bar->form);
    choose("rtyry");
    EXPECT_NE(bar->Form3.loaded(), nullptr);
}

TEST_F(MenuTest, ExitAsksAndEndsOnlyOnYes) {
    installNormal("1000");
    start();
    sim.answer = [](const ui::sim::MessageBoxCall&) { return ui::Answer::No; };
    choose("rtyrtyrty");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    expectMessageBox(sim.messageBoxes[0], "Brenlo Vistrel",
                     "Do you want to close brenlo vistrel v1.0", ui::Buttons::YesNo,
                     ui::Icon::None);
    EXPECT_FALSE(sim.ended());
    sim.advance(1000);
    EXPECT_EQ(sim.wallpapers.size(), 1u);

    // The cycle goes on while the question is open; Yes ends everything at once.
    sim.answer = [&](const ui::sim::MessageBoxCall&) {
        sim.advance(2000);
        return ui::Answer::Yes;
    };
    choose("rtyrtyrty");
    EXPECT_TRUE(sim.ended());
    EXPECT_EQ(sim.wallpapers.size(), 3u);
    sim.advance(10000);
    EXPECT_EQ(sim.wallpapers.size(), 3u);
}

TEST_F(MenuTest, ExitWithTheSettingsAndAboutWindowsOpenEndsAllAndWritesNothing) {
    installNormal("1000");
    start();
    choose("frty");
    auto* settings = bar->Form2.loaded();
    ASSERT_NE(settings, nullptr);
    sim.scroll(settings->form, "Slider1", 2000);
    choose("rtyry");
    ASSERT_NE(bar->Form3.loaded(), nullptr);
    EXPECT_TRUE(settings->form.visible());
    const std::size_t shown = sim.wallpapers.size();

    choose("rtyrtyrty");  // answered Yes
    EXPECT_TRUE(sim.ended());
    EXPECT_FALSE(fs::fileExists(paths::topNote()));
    EXPECT_FALSE(fs::fileExists(paths::leftNote()));
    sim.advance(10000);
    EXPECT_EQ(sim.wallpapers.size(), shown);
    EXPECT_EQ(sim.messageBoxes.size(), 1u);
}

}  // namespace
}  // namespace bv::testing
