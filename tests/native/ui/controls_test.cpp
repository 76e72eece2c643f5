#include <limits>

#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/native/ui/ui_fixture.h"
#include "tests/support/bitmap_files.h"
#include "ui/controls/image.h"
#include "ui/controls/note_box.h"
#include "ui/controls/slider.h"

namespace bv::testing {
namespace {

TEST_F(UiTest, SliderScrollsOnlyForTheUsersChanges) {
    ui::Slider& s = form.slider("Slider1");
    int scrolls = 0;
    s.Scroll = [&] { ++scrolls; };
    s.setValue(5000);
    EXPECT_EQ(scrolls, 0);
    sim.scroll(form, "Slider1", 5001);
    sim.scroll(form, "Slider1", 5001);
    EXPECT_EQ(scrolls, 1);
    sim.scroll(form, "Slider1", 99999);  // dragged past the end: held at the maximum
    EXPECT_EQ(s.value(), 10000);
    EXPECT_EQ(scrolls, 2);
}

TEST_F(UiTest, SliderRefusesValuesOutsideItsRange) {
    ui::Slider& s = form.slider("Slider1");
    EXPECT_THROW(s.setValue(0), Failure);
    EXPECT_THROW(s.setValue(10001), Failure);
    EXPECT_EQ(s.value(), 1000);
}

// Windows and controls take any place a 32-bit whole number of twips holds,
// and nothing beyond it; the single nearest 2147483647 is 2^31, beyond it.
TEST_F(UiTest, PlacesAreLimitedToThirtyTwoBitTwips) {
    ui::Image& img = form.image("Image1");
    for (float place : {2147483520.0f, -2147483648.0f, -1.5f}) {
        form.setTop(place);
        EXPECT_EQ(form.top(), place);
        img.setLeft(place);
        EXPECT_EQ(img.left(), place);
    }
    for (float place :
         {2147483648.0f, -2147483904.0f, 1e10f, std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_THROW(form.setTop(place), Failure) << place;
        EXPECT_THROW(form.setLeft(place), Failure) << place;
        EXPECT_THROW(img.setLeft(place), Failure) << place;
        EXPECT_THROW(img.setTop(place), Failure) << place;
    }
    EXPECT_EQ(form.top(), -1.5f);
    EXPECT_EQ(form.left(), 0.0f);
    EXPECT_EQ(img.left(), -1.5f);
    EXPECT_EQ(img.top(), 0.0f);
}

TEST_F(UiTest, PictureThatCannotBeLoadedKeepsThePreviousOne) {
    ui::Image& img = form.image("Image1");
    drive.put("C:\\pics\\fake.bmp", "not a picture");
    EXPECT_THROW(img.loadPicture("C:\\pics\\fake.bmp"), Failure);
    EXPECT_THROW(img.loadPicture("C:\\pics\\missing.bmp"), Failure);
    EXPECT_EQ(img.picture().resource.resource, 101);
    drive.put("C:\\pics\\real.bmp", std::string("BM") + std::string(60, '\0'));
    img.loadPicture("C:\\pics\\real.bmp");
    EXPECT_EQ(img.picture().file, "C:\\pics\\real.bmp");
}

// A plain bitmap whose rows the file does not hold is refused here as on
// Win32, where the decoder would show memory past the file's end.
TEST_F(UiTest, PlainBitmapCutInItsRowsIsNoPicture) {
    const std::string bmp = BitmapFile(24, 2, 2).bytes();
    ui::Image& img = form.image("Image1");
    drive.put("C:\\pics\\whole.bmp", bmp);
    drive.put("C:\\pics\\cut.bmp", bmp.substr(0, bmp.size() - 1));
    img.loadPicture("C:\\pics\\whole.bmp");
    EXPECT_THROW(img.loadPicture("C:\\pics\\cut.bmp"), Failure);
    EXPECT_EQ(img.picture().file, "C:\\pics\\whole.bmp");
}

TEST_F(UiTest, NoteBoxKeepsItsTextWhenALoadFails) {
    ui::NoteBox& sp = form.noteBox("sp");
    EXPECT_THROW(sp.loadFile("C:\\WINDOWS\\b_kelvo\\speed.note"), Failure);
    EXPECT_EQ(sp.text(), "RichTextBox1");
    drive.makeFolders("C:\\WINDOWS\\b_kelvo");
    sp.setText("3000");
    sp.saveFile(paths::speedNote());
    sp.setText("");
    sp.loadFile(paths::speedNote());
    EXPECT_EQ(sp.text(), "3000");
}

TEST_F(UiTest, PopupMenuRunsTheChosenItemAfterItCloses) {
    static constexpr ui::MenuItemSpec items[] = {{"a", "A"}, {"sep", "-"}, {"b", "B"}};
    static constexpr ui::FormSpec spec = {.name = "F", .caption = "", .menu = items};
    ui::Form f(app, spec);
    std::string chosen;
    f.menuItem("b").Click = [&] { chosen = "b"; };
    EXPECT_TRUE(f.menuItem("sep").separator());
    sim.chooseMenuItem = [](ui::Form&) { return 2; };
    sim.raise(app, [&] { f.popupMenu(); });
    EXPECT_EQ(chosen, "b");
    sim.chooseMenuItem = nullptr;
    chosen.clear();
    sim.raise(app, [&] { f.popupMenu(); });
    EXPECT_EQ(chosen, "");
}

}  // namespace
}  // namespace bv::testing
