#include "config/layouts.h"

#include <array>

#include "common/banner.h"
#include "resources/resource_ids.h"
#include "ui/controls/button.h"
#include "ui/controls/file_dialog.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/note_box.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer.h"
#include "ui/layout_check.h"

namespace bv::config {

using ui::ControlSpec;
namespace Kind = ui::Kind;

namespace {

constexpr ControlSpec slot(const char* name, const char* container, int left, int top,
                           int tabIndex) {
    return {.kind = Kind::TextBox,
            .name = name,
            .container = container,
            .left = left,
            .top = top,
            .width = 4575,
            .height = 375,
            .tabIndex = tabIndex,
            .readOnly = true};
}

constexpr ControlSpec noteBox(const char* name, const char* text) {
    return {.kind = Kind::NoteBox, .name = name, .text = text, .visible = false};
}

// Front to back. Slots 4 to 10 lie on the window over the lower part of the
// "Top 10" frame, which holds slots 1 to 3.
constexpr std::array<ControlSpec, 11> kFront = {{
    {.kind = Kind::Button,
     .name = "Command3",
     .left = 8520,
     .top = 5640,
     .width = 1095,
     .height = 375,
     .text = "&About",
     .tabIndex = 22},
    slot("Text10", nullptr, 360, 6480, 16),
    slot("Text9", nullptr, 360, 6000, 15),
    slot("Text8", nullptr, 360, 5520, 14),
    slot("Text7", nullptr, 360, 5040, 13),
    slot("Text6", nullptr, 360, 4560, 12),
    slot("Text5", nullptr, 360, 4080, 11),
    slot("Text4", nullptr, 360, 3600, 10),
    {.kind = Kind::Button,
     .name = "Command2",
     .left = 7320,
     .top = 5640,
     .width = 1095,
     .height = 375,
     .text = "&Exit",
     .tabIndex = 6},
    {.kind = Kind::Frame,
     .name = "Frame4",
     .left = 120,
     .top = 1800,
     .width = 5055,
     .height = 5295,
     .text = "Top 10",
     .tabIndex = 5},
    slot("Text3", "Frame4", 240, 1320, 9),
}};

constexpr std::array<ControlSpec, 2> kTopSlots = {{
    slot("Text2", "Frame4", 240, 840, 8),
    slot("Text1", "Frame4", 240, 360, 7),
}};

constexpr std::array<ControlSpec, 10> kFrames = {{
    {.kind = Kind::Frame,
     .name = "Frame2",
     .left = 5280,
     .top = 2760,
     .width = 4455,
     .height = 2535,
     .text = "Speed",
     .tabIndex = 2},
    {.kind = Kind::Timer, .name = "Timer1", .container = "Frame2", .interval = 0, .enabled = true},
    {.kind = Kind::PictureBox,
     .name = "Picture2",
     .container = "Frame2",
     .left = 1440,
     .top = 1920,
     .width = 495,
     .height = 255,
     .backColor = ui::hex(0xFF0000),
     .tabIndex = 42,
     .border = true},
    {.kind = Kind::Slider,
     .name = "Slider1",
     .container = "Frame2",
     .left = 360,
     .top = 480,
     .width = 3855,
     .height = 615,
     .tabIndex = 17,
     .min = 1000,
     .max = 10000,
     .value = 1000,
     .smallChange = 1,
     .largeChange = 5,
     .ticks = false},
    {.kind = Kind::Label,
     .name = "Label11",
     .container = "Frame2",
     .left = 240,
     .top = 1920,
     .width = 1215,
     .height = 255,
     .text = "Sample Speed :",
     .tabIndex = 41},
    {.kind = Kind::Label,
     .name = "Label1",
     .container = "Frame2",
     .left = 1560,
     .top = 1200,
     .width = 1815,
     .height = 255,
     .text = "Speed : ",
     .tabIndex = 18},
    {.kind = Kind::Frame,
     .name = "Frame1",
     .left = 5280,
     .top = 120,
     .width = 4455,
     .height = 2535,
     .text = "Preview",
     .tabIndex = 1},
    {.kind = Kind::Label,
     .name = "Label9",
     .container = "Frame1",
     .left = 3840,
     .top = 1200,
     .width = 615,
     .height = 255,
     .text = ">> >  >",
     .transparent = true,
     .tabIndex = 39},
    {.kind = Kind::Label,
     .name = "Label8",
     .container = "Frame1",
     .left = 120,
     .top = 1200,
     .width = 495,
     .height = 255,
     .text = "<  < <<",
     .transparent = true,
     .tabIndex = 38},
    {.kind = Kind::Image,
     .name = "Image1",
     .container = "Frame1",
     .left = 600,
     .top = 360,
     .width = 3255,
     .height = 1935,
     .border = true,
     .stretch = true},
}};

constexpr std::array<ControlSpec, 5> kBack = {{
    {.kind = Kind::Button,
     .name = "Command1",
     .left = 6000,
     .top = 5640,
     .width = 1215,
     .height = 375,
     .text = "&Save",
     .font = {"MS Sans Serif", 8.25f, true},
     .tabIndex = 0},
    {.kind = Kind::Label,
     .name = "Label10",
     .left = 120,
     .top = 7560,
     .width = 4215,
     .height = 255,
     .text = "* Recommend image | Res : scr res(1024x768) type : bitmap",
     .tabIndex = 40},
    {.kind = Kind::Image,
     .name = "Image2",
     .left = 9360,
     .top = 6960,
     .width = 480,
     .height = 480,
     .picture = {ui::PictureType::GifAsBitmap, BV_BMP_BADGE}},
    // Its box reaches past the window's right edge, where the text is cut.
    {.kind = Kind::Label,
     .name = "Label7",
     .left = 7440,
     .top = 7440,
     .width = 2775,
     .height = 255,
     .text = "(c) 2010-2011 Brenlo Corporation.",
     .foreColor = ui::hex(0x808080),
     .tabIndex = 37},
    {.kind = Kind::Label,
     .name = "Label6",
     .left = 120,
     .top = 7320,
     .width = 3615,
     .height = 255,
     .text = "* Move your mouse over top 10 to view preview.",
     .tabIndex = 35},
}};

// Never drawn: the note readers and writers and the file-open dialog.
constexpr std::array<ControlSpec, 13> kHidden = {{
    noteBox("scr1", "RichTextBox1"),
    noteBox("scr2", "RichTextBox2"),
    noteBox("scr3", "RichTextBox3"),
    noteBox("scr4", "RichTextBox4"),
    noteBox("scr5", "RichTextBox5"),
    noteBox("scr6", "RichTextBox6"),
    noteBox("scr7", "RichTextBox7"),
    noteBox("scr8", "RichTextBox8"),
    noteBox("scr9", "RichTextBox9"),
    noteBox("scr10", "RichTextBox10"),
    noteBox("sp", "RichTextBox1"),
    noteBox("ok", "RichTextBox1"),
    {.kind = Kind::FileDialog, .name = "c"},
}};

using common::join;
constexpr auto kControls = join(
    kFront, kTopSlots, common::banner({120, 4815, "Vistrel v1.0", 3, 4}), kFrames, kBack, kHidden);

static_assert(!ui::checkLayout(kControls));

}  // namespace

const ui::FormSpec kConfigWindowLayout = {
    .name = "Form1",
    .caption = "Brenlo Vistrel v1.0 - Settings",
    .border = ui::Border::FixedSingle,
    .clientWidth = 9915,
    .clientHeight = 7875,
    .placement = ui::Placement::CenterScreen,
    .taskbar = true,
    .icon = BV_ICON_PROGRAM,
    .controls = kControls,
};

}  // namespace bv::config
