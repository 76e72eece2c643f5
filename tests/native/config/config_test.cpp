// The configuration tool on the simulated desktop over a temporary drive C:.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "config/config_window.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "resources/resource_ids.h"
#include "tests/native/support/message_boxes.h"
#include "tests/native/support/temp_drive.h"
#include "ui/controls/file_dialog.h"
#include "ui/sim/sim_platform.h"

namespace bv::testing {
namespace {

using config::kNoPicture;
using ui::Icon;

std::string fakeBitmap(const std::string& tag) {
    return "BM" + std::string(30, '\0') + tag;
}

bool isDir(const std::string& windowsPath) {
    return std::filesystem::is_directory(fs::hostPath(windowsPath));
}

class ConfigTool : public ::testing::Test {
  protected:
    TempDrive drive;
    ui::sim::SimPlatform sim;
    ui::App app{sim, "brenlo_kel_vo_config"};
    std::unique_ptr<config::ConfigWindow> tool;
    // What the user picks in the file-open dialog; nullopt cancels it.
    std::optional<std::string> pick;

    void start() {
        drive.makeFolders(paths::windowsDir());  // the one folder Windows brings
        sim.chooseFile = [this](ui::FileDialog& dialog) {
            EXPECT_EQ(dialog.title, "Add wallpaper to top 10");
            return pick;
        };
        tool = std::make_unique<config::ConfigWindow>(app);
        sim.raise(app, [&] {
            tool->form.load();
            tool->form.show();
        });
    }

    std::string caption(int slot) const { return tool->slotBox(slot).text(); }
    std::string putPicture(const std::string& path, const std::string& tag) const {
        drive.put(path, fakeBitmap(tag));
        return path;
    }
    void choose(int slot, const std::optional<std::string>& path) {
        pick = path;
        sim.click(tool->form, "Text" + std::to_string(slot));
    }
    void hover(int slot) { sim.mouseMove(tool->form, "Text" + std::to_string(slot)); }
    bool previewShowsResource(int id) const {
        const ui::Picture& p = tool->Image1.picture();
        return p.file.empty() && p.resource.resource == id;
    }
    // A saved top ten with these captions' notes and this speed note.
    void putSavedState(const std::optional<std::string>& speed) const {
        drive.makeFolders(paths::wallpapersDir());
        drive.put(paths::okNote(), note::toRtf("saved"));
        for (int n = 1; n <= 10; ++n)
            drive.put(paths::captionNote(n),
                      note::toRtf("Selected Image # p" + std::to_string(n) + ".bmp"));
        if (speed)
            drive.put(paths::speedNote(), note::toRtf(*speed));
    }
    void fillAllSlots() {
        for (int n = 1; n <= 10; ++n)
            choose(n, putPicture("C:\\pics\\p" + std::to_string(n) + ".bmp", std::to_string(n)));
    }
    ui::Color indicator() const { return tool->Picture2.backColor(); }
};

constexpr ui::Color kRed = ui::rgb(255, 0, 0), kGreen = ui::rgb(0, 255, 0),
                    kBlue = ui::rgb(0, 0, 255);

TEST_F(ConfigTool, FirstStartMakesTheFoldersAndWaitsWithPlaceholders) {
    start();
    EXPECT_TRUE(isDir(paths::wallpapersDir()) && isDir(paths::scriptDir()));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(caption(n), kNoPicture);
    EXPECT_EQ(tool->Slider1.value(), 1000);
    EXPECT_EQ(tool->Label1.caption(), "Speed : ");
    EXPECT_TRUE(previewShowsResource(BV_BMP_PLACEHOLDER));
    EXPECT_EQ(tool->scr[0]->text(), "RichTextBox1");  // nothing read
    sim.advance(60000);
    EXPECT_EQ(indicator(), kRed);
    EXPECT_TRUE(sim.messageBoxes.empty());
    // The first slider movement starts the indicator; the label follows the thumb.
    sim.scroll(tool->form, "Slider1", 2000);
    EXPECT_EQ(tool->Label1.caption(), "Speed : 2000");
    sim.advance(2000);
    EXPECT_EQ(indicator(), kRed);
    sim.advance(2000);
    EXPECT_EQ(indicator(), kGreen);
    EXPECT_FALSE(std::filesystem::exists(fs::hostPath(paths::speedNote())));
}

TEST_F(ConfigTool, SavedStateFillsTheWindowAndUnreadableNotesShowTheirLaidOutText) {
    putSavedState("2500.5");
    std::filesystem::remove(fs::hostPath(paths::captionNote(4)));
    start();
    EXPECT_EQ(caption(1), "Selected Image # p1.bmp");
    EXPECT_EQ(caption(4), "RichTextBox4");
    EXPECT_EQ(caption(10), "Selected Image # p10.bmp");
    EXPECT_EQ(tool->Label1.caption(), "Speed : 2500.5");
    EXPECT_EQ(tool->Slider1.value(), 2500);
    EXPECT_EQ(tool->Timer1.interval(), 2500);
    // Red, green, blue, blue, then red again, one step per interval; the
    // slider changes the pace without restarting the cycle.
    const ui::Color expected[] = {kRed, kGreen, kBlue, kBlue, kRed, kGreen};
    ui::Color before = kRed;
    for (ui::Color colour : expected) {
        sim.advance(2499);
        EXPECT_EQ(indicator(), before);
        sim.advance(1);
        EXPECT_EQ(indicator(), colour);
        before = colour;
    }
    sim.scroll(tool->form, "Slider1", 4500);
    sim.advance(4500);
    EXPECT_EQ(indicator(), kBlue);
}

TEST_F(ConfigTool, SpeedOutsideTheSliderRangeIsHeldWithinItWithoutAMessage) {
    const std::pair<std::optional<std::string>, int> cases[] = {
        {std::nullopt, 1000}, {"99999", 10000}, {"1e300", 10000}, {"-5", 1000}, {"500", 1000}};
    for (const auto& [speed, held] : cases) {
        drive.clear();
        putSavedState(speed);
        start();
        EXPECT_EQ(tool->Slider1.value(), held) << speed.value_or("no note");
        EXPECT_EQ(tool->Timer1.interval(), held);
        EXPECT_EQ(tool->Label1.caption(), "Speed : " + speed.value_or("RichTextBox1"));
        EXPECT_TRUE(sim.messageBoxes.empty());
    }
}

TEST_F(ConfigTool, PicksTakeNamesEndingInLowerCaseBmpAndCopyThemByteForByte) {
    start();
    const std::string sunset = putPicture("C:\\Pictures\\Sunset.bmp", "sunset");
    choose(3, sunset);
    EXPECT_EQ(caption(3), "Selected Image # Sunset.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fs::readFile(sunset));

    choose(4, putPicture("C:\\Pictures\\x.abmp", "abmp"));
    EXPECT_EQ(caption(4), "Selected Image # x.abmp");
    drive.put("C:\\Pictures\\bmp", "not a bitmap at all");
    choose(5, "C:\\Pictures\\bmp");
    EXPECT_EQ(caption(5), "Selected Image # bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(5)), "not a bitmap at all");
    EXPECT_TRUE(sim.messageBoxes.empty());

    // Refused: upper case, and a path where no file is. Slot 3 keeps its pick.
    for (const char* refused : {"C:\\Pictures\\x.BMP", "C:\\Pictures\\gone.bmp"}) {
        if (std::string(refused).ends_with("BMP"))
            putPicture(refused, "upper");
        sim.messageBoxes.clear();
        choose(3, refused);
        ASSERT_EQ(sim.messageBoxes.size(), 1u) << refused;
        expectMessageBox(sim.messageBoxes[0], "Error",
                         "Invalid wallpaper, select only '*.bmp' files.", ui::Buttons::Ok,
                         Icon::Question);
        EXPECT_EQ(caption(3), "Selected Image # Sunset.bmp");
        EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fs::readFile(sunset));
    }

    // A cancel takes nothing, though the dialog still holds slot 4's file.
    sim.messageBoxes.clear();
    choose(6, std::nullopt);
    EXPECT_EQ(tool->c.fileName, "C:\\Pictures\\gone.bmp");
    EXPECT_EQ(caption(6), kNoPicture);
    EXPECT_FALSE(fs::fileExists(paths::wallpaper(6)));
    EXPECT_TRUE(sim.messageBoxes.empty());

    // The slot's own stored bitmap: accepted, nothing changes.
    choose(3, paths::wallpaper(3));
    EXPECT_EQ(caption(3), "Selected Image # 3.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fakeBitmap("sunset"));
    EXPECT_TRUE(sim.messageBoxes.empty());
}

TEST_F(ConfigTool, APickWhoseCopyFailsSaysSoAndKeepsTheSlotAndTheOtherChoices) {
    start();
    choose(1, putPicture("C:\\pics\\one.bmp", "one"));
    choose(2, putPicture("C:\\pics\\two.bmp", "two"));
    // The slot's bitmap cannot be replaced: a folder stands in its place.
    std::filesystem::remove(fs::hostPath(paths::wallpaper(2)));
    std::filesystem::create_directory(fs::hostPath(paths::wallpaper(2)));
    choose(2, putPicture("C:\\pics\\three.bmp", "three"));

    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    const auto& box = sim.messageBoxes[0];
    EXPECT_NE(box.prompt.find("# 2"), std::string::npos) << box.prompt;
    EXPECT_NE(box.prompt.find("C:\\pics\\three.bmp"), std::string::npos) << box.prompt;
    EXPECT_NE(box.prompt.find(paths::wallpaper(2)), std::string::npos) << "names the failure";
    EXPECT_EQ(box.icon, Icon::Stop);
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(caption(2), "Selected Image # two.bmp");
    EXPECT_EQ(caption(1), "Selected Image # one.bmp");
}

TEST_F(ConfigTool, PreviewShowsTheStoredFileAndMarksOneItCannotShow) {
    drive.makeFolders(paths::wallpapersDir());
    putPicture(paths::wallpaper(2), "left from before");
    start();
    hover(2);  // first run, yet the stored bitmap shows
    EXPECT_EQ(tool->Image1.picture().file, paths::wallpaper(2));
    hover(7);
    EXPECT_TRUE(previewShowsResource(BV_BMP_PLACEHOLDER));

    // Right after a pick the new picture shows.
    choose(7, putPicture("C:\\pics\\seven.bmp", "seven"));
    hover(7);
    EXPECT_EQ(tool->Image1.picture().file, paths::wallpaper(7));

    // Not a picture: the marked image, no message, the caption stays.
    choose(5, putPicture("C:\\pics\\five.bmp", "five"));
    hover(5);
    drive.put(paths::wallpaper(5), "garbage that ends in bmp");
    hover(5);
    EXPECT_TRUE(previewShowsResource(BV_BMP_UNREADABLE));
    hover(5);
    EXPECT_TRUE(sim.messageBoxes.empty());
    EXPECT_FALSE(sim.ended());
    EXPECT_EQ(caption(5), "Selected Image # five.bmp");
    // Mended on disk: the next move shows it again.
    drive.put(paths::wallpaper(5), fakeBitmap("mended, and longer than before"));
    hover(5);
    EXPECT_EQ(tool->Image1.picture().file, paths::wallpaper(5));
}

// The keyboard's way: a slot with the focus is previewed; Enter or Space
// there opens the dialog as a click does, and no other key does.
TEST_F(ConfigTool, SlotsPickAndPreviewFromTheKeyboard) {
    drive.makeFolders(paths::wallpapersDir());
    putPicture(paths::wallpaper(2), "two");
    start();
    sim.focus(tool->form, "Text2");
    EXPECT_EQ(tool->Image1.picture().file, paths::wallpaper(2));
    sim.focus(tool->form, "Text7");
    EXPECT_TRUE(previewShowsResource(BV_BMP_PLACEHOLDER));

    int dialogs = 0;
    sim.chooseFile = [&](ui::FileDialog&) { return ++dialogs, pick; };
    pick = putPicture("C:\\pics\\three.bmp", "three");
    sim.keyDown(tool->form, "Text3", ui::Key::Enter);
    EXPECT_EQ(caption(3), "Selected Image # three.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fakeBitmap("three"));
    sim.keyDown(tool->form, "Text4", ui::Key::Space);
    EXPECT_EQ(caption(4), "Selected Image # three.bmp");
    for (int key : {ui::Key::F10, int{'A'}})
        sim.keyDown(tool->form, "Text5", key);
    sim.keyDown(tool->form, "Text5", ui::Key::Enter, ui::kShiftKey);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(caption(5), kNoPicture);
}

// A slot's picture is kept while its file's stamp stays: moving back to it
// reads nothing. A changed, missing or unshowable file is read as before.
TEST_F(ConfigTool, PreviewKeepsEachSlotsPictureWhileItsFileStays) {
    drive.makeFolders(paths::wallpapersDir());
    putPicture(paths::wallpaper(1), "one");
    putPicture(paths::wallpaper(2), "two");
    start();
    const ui::Image& preview = tool->Image1;
    hover(1);
    const ui::KeptPicture one = preview.kept();
    ASSERT_TRUE(one);
    hover(2);
    hover(1);
    EXPECT_EQ(preview.picture().kept, one) << "shown as kept, the file not read";
    EXPECT_EQ(preview.picture().file, paths::wallpaper(1));

    // Rewritten between two hovers: read anew, and kept anew.
    hover(2);
    putPicture(paths::wallpaper(1), "one, rewritten");
    hover(1);
    EXPECT_FALSE(preview.picture().kept);
    const ui::KeptPicture rewritten = preview.kept();
    EXPECT_NE(rewritten, one);
    hover(2);
    hover(1);
    EXPECT_EQ(preview.picture().kept, rewritten);

    // Gone: the placeholder; back again: read.
    std::filesystem::remove(fs::hostPath(paths::wallpaper(1)));
    hover(2);
    hover(1);
    EXPECT_TRUE(previewShowsResource(BV_BMP_PLACEHOLDER));
    putPicture(paths::wallpaper(1), "one again");
    hover(1);
    EXPECT_FALSE(preview.picture().kept);

    // No picture: marked each time, never kept as one.
    hover(2);
    drive.put(paths::wallpaper(1), "garbage");
    hover(1);
    EXPECT_TRUE(previewShowsResource(BV_BMP_UNREADABLE));
    hover(2);
    EXPECT_TRUE(preview.picture().kept);
    hover(1);
    EXPECT_TRUE(previewShowsResource(BV_BMP_UNREADABLE));
}

TEST_F(ConfigTool, SaveNeedsTenPicksAndWritesTheTwelveNotesInOrder) {
    start();
    for (int n = 1; n <= 9; ++n)
        choose(n, putPicture("C:\\pics\\p" + std::to_string(n) + ".bmp", "x"));
    sim.click(tool->form, "Command1");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    expectMessageBox(sim.messageBoxes[0], "Error", "Please select 10 Wallpapers as your Top 10.",
                     ui::Buttons::Ok, Icon::Information);
    EXPECT_TRUE(std::filesystem::is_empty(fs::hostPath(paths::scriptDir())));
    EXPECT_FALSE(fs::fileExists(paths::okNote()));

    choose(10, putPicture("C:\\pics\\p10.bmp", "x"));
    sim.scroll(tool->form, "Slider1", 3000);
    sim.messageBoxes.clear();
    sim.click(tool->form, "Command1");
    EXPECT_TRUE(sim.messageBoxes.empty());
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(note::readNote(paths::captionNote(n)),
                  "Selected Image # p" + std::to_string(n) + ".bmp");
    EXPECT_TRUE(fs::fileExists(paths::okNote()));
    EXPECT_EQ(note::readNote(paths::speedNote()), "3000");
    // At the fixed paths where the agent looks for them.
    EXPECT_TRUE(fs::fileExists("C:\\WINDOWS\\b_kelvo\\ok.note"));
    EXPECT_EQ(note::readNote("C:\\WINDOWS\\b_kelvo\\speed.note"), "3000");
    EXPECT_EQ(note::readNote("C:\\WINDOWS\\b_kelvo\\script\\wall10.note"),
              "Selected Image # p10.bmp");
    EXPECT_TRUE(fs::fileExists("C:\\WINDOWS\\b_kelvo\\wallpapers\\1.bmp"));
    EXPECT_TRUE(fs::fileExists("C:\\WINDOWS\\b_kelvo\\wallpapers\\10.bmp"));
    const std::string first = fs::readFile(paths::captionNote(7));
    sim.click(tool->form, "Command1");
    EXPECT_EQ(fs::readFile(paths::captionNote(7)), first);
    EXPECT_TRUE(sim.messageBoxes.empty());
}

TEST_F(ConfigTool, ASaveThatFailsStopsAtTheFileSaysSoAndCanBeDoneAgain) {
    start();
    fillAllSlots();
    // A folder where slot 5's note belongs.
    std::filesystem::create_directory(fs::hostPath(paths::captionNote(5)));
    sim.click(tool->form, "Command1");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_NE(sim.messageBoxes[0].prompt.find(paths::captionNote(5)), std::string::npos)
        << sim.messageBoxes[0].prompt;
    EXPECT_EQ(sim.messageBoxes[0].icon, Icon::Stop);
    EXPECT_FALSE(sim.ended());
    EXPECT_TRUE(fs::fileExists(paths::captionNote(4)));
    EXPECT_FALSE(fs::fileExists(paths::captionNote(6)));
    EXPECT_FALSE(fs::fileExists(paths::okNote())) << "no marker before its ten captions";
    EXPECT_EQ(caption(5), "Selected Image # p5.bmp");

    std::filesystem::remove(fs::hostPath(paths::captionNote(5)));
    std::filesystem::create_directory(fs::hostPath(paths::speedNote()));
    sim.messageBoxes.clear();
    sim.click(tool->form, "Command1");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_NE(sim.messageBoxes[0].prompt.find(paths::speedNote()), std::string::npos);
    EXPECT_TRUE(fs::fileExists(paths::okNote()));

    std::filesystem::remove(fs::hostPath(paths::speedNote()));
    sim.messageBoxes.clear();
    sim.click(tool->form, "Command1");
    EXPECT_TRUE(sim.messageBoxes.empty());
    EXPECT_EQ(note::readNote(paths::speedNote()), "1000");
}

TEST_F(ConfigTool, ExitAsksFirstAndAboutOpensOneWindow) {
    start();
    sim.answer = [](const ui::sim::MessageBoxCall&) { return ui::Answer::No; };
    sim.click(tool->form, "Command2");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    expectMessageBox(sim.messageBoxes[0], "Brenlo Vistrel", "Do you want unload brenlo vistrel?",
                     ui::Buttons::YesNo, Icon::Question);
    EXPECT_FALSE(sim.ended());

    sim.click(tool->form, "Command3");
    auto* about = tool->Form2.loaded();
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(about->form.spec().caption, "About Vistrel v1.0");
    sim.click(tool->form, "Command3");
    EXPECT_EQ(tool->Form2.loaded(), about);

    sim.answer = nullptr;  // Yes
    sim.click(tool->form, "Command2");
    EXPECT_TRUE(sim.ended());
}

}  // namespace
}  // namespace bv::testing
