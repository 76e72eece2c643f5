#include "agent/layouts.h"

#include "resources/resource_ids.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/note_box.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer.h"
#include "ui/layout_check.h"

namespace bv::agent {

using ui::ControlSpec;
namespace Kind = ui::Kind;
using ui::PictureType;
using ui::Pointer;

namespace {

constexpr ControlSpec kAgentBarControls[] = {
    {.kind = Kind::Timer, .name = "Timer2", .interval = 500, .enabled = true},
    {.kind = Kind::TextBox,
     .name = "Text1",
     .left = 600,
     .top = 120,
     .width = 375,
     .height = 285,
     .text = "Text1",
     .tabIndex = 1,
     .visible = false},
    {.kind = Kind::NoteBox,
     .name = "sp",
     .left = 240,
     .top = 120,
     .width = 375,
     .height = 375,
     .text = "RichTextBox1",
     .tabIndex = 0,
     .visible = false},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 5000, .enabled = false},
    {.kind = Kind::Image,
     .name = "Image3",
     .left = 1680,
     .top = 120,
     .width = 405,
     .height = 195,
     .picture = {PictureType::Bitmap, BV_BMP_DIM},
     .tooltip = "Main Menu",
     .pointer = Pointer::Hand},
    {.kind = Kind::Image,
     .name = "Image2",
     .left = 2160,
     .top = 120,
     .width = 405,
     .height = 195,
     .picture = {PictureType::Bitmap, BV_BMP_PAUSE},
     .tooltip = "Toggle ON/OFF Anmation",
     .pointer = Pointer::Hand},
    {.kind = Kind::Image,
     .name = "Image1",
     .left = 0,
     .top = 0,
     .width = 2655,
     .height = 375,
     .picture = {PictureType::Bitmap, BV_BMP_BAR}},
};

constexpr ui::MenuItemSpec kAgentMenu[] = {
    {"rtuy67", "Settings..."}, {"frty", "Position..."}, {"rtyry", "About"},
    {"rtyrty", "-"},           {"rtyrtyrty", "Exit"},
};

constexpr ControlSpec kSettingsControls[] = {
    {.kind = Kind::Button,
     .name = "Command2",
     .left = 3480,
     .top = 1680,
     .width = 1095,
     .height = 375,
     .text = "&Ok",
     .tabIndex = 7},
    {.kind = Kind::NoteBox,
     .name = "leftt",
     .left = 840,
     .top = 2640,
     .width = 495,
     .height = 375,
     .text = "RichTextBox2",
     .tabIndex = 6},
    {.kind = Kind::NoteBox,
     .name = "topt",
     .left = 240,
     .top = 2640,
     .width = 495,
     .height = 375,
     .text = "RichTextBox1",
     .tabIndex = 5},
    {.kind = Kind::Frame,
     .name = "Frame1",
     .left = 120,
     .top = 120,
     .width = 4455,
     .height = 1335,
     .text = "Position",
     .tabIndex = 0},
    {.kind = Kind::Slider,
     .name = "Slider2",
     .container = "Frame1",
     .left = 960,
     .top = 720,
     .width = 3375,
     .height = 375,
     .tabIndex = 4,
     .min = 8000,
     .max = 15000,
     .value = 8000,
     .ticks = true},
    {.kind = Kind::Slider,
     .name = "Slider1",
     .container = "Frame1",
     .left = 960,
     .top = 240,
     .width = 3375,
     .height = 375,
     .tabIndex = 3,
     .min = 1000,
     .max = 10000,
     .value = 5000,
     .ticks = true},
    {.kind = Kind::Label,
     .name = "Label2",
     .container = "Frame1",
     .left = 120,
     .top = 840,
     .width = 615,
     .height = 255,
     .text = "Left :",
     .tabIndex = 2},
    {.kind = Kind::Label,
     .name = "Label1",
     .container = "Frame1",
     .left = 120,
     .top = 360,
     .width = 735,
     .height = 255,
     .text = "Top :",
     .tabIndex = 1},
};

static_assert(!ui::checkLayout(kAgentBarControls));
static_assert(!ui::checkLayout(kSettingsControls));

}  // namespace

const ui::FormSpec kAgentBarLayout = {
    .name = "Form1",
    .caption = "",
    .border = ui::Border::FixedSingle,
    .titleBar = false,
    .clientWidth = 2640,
    .clientHeight = 360,
    .placement = ui::Placement::Manual,
    .left = 12630,
    .top = 8355,
    .taskbar = true,
    .icon = BV_ICON_PROGRAM,
    .controls = kAgentBarControls,
    .menuName = "mnu",
    .menuCaption = "Main",
    .menu = kAgentMenu,
};

const ui::FormSpec kSettingsWindowLayout = {
    .name = "Form2",
    .caption = "Vistrel Agent - Settings",
    .border = ui::Border::FixedDialog,
    .clientWidth = 4680,
    .clientHeight = 2145,
    .placement = ui::Placement::CenterScreen,
    .taskbar = false,
    .icon = BV_ICON_PROGRAM,
    .controls = kSettingsControls,
};

}  // namespace bv::agent
