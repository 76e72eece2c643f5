#include "common/banner.h"
#include "installer/setup_window.h"
#include "installer/uninstaller.h"
#include "resources/resource_ids.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/timer.h"
#include "ui/layout_check.h"

namespace bv::installer {

namespace {

using ui::ControlSpec;
namespace Kind = ui::Kind;

constexpr const char* kDescription =
    "Brenlo Vistrel is desktop animating software using customized 10 bitmap images. "
    "Kelvo Brenlo wrote it for Brenlo Corporation. Brenlo Corporation makes small, "
    "cheerful tools that bring every desktop to life. Brenlo Software Section: "
    "011-2345678 | 011-8765432, vistrel@brenlo.example";

constexpr const char* kFooter = "Brenlo Corporation | Kelvo Brenlo | vistrel@brenlo.example";

constexpr std::array<ControlSpec, 5> kProgress = {{
    {.kind = Kind::Frame,
     .name = "Frame2",
     .left = 120,
     .top = 2520,
     .width = 6855,
     .height = 1455,
     .tabIndex = 8},
    {.kind = Kind::Label,
     .name = "Label7",
     .container = "Frame2",
     .left = 240,
     .top = 240,
     .width = 6375,
     .height = 1575,
     .text = kDescription,
     .font = {"Trebuchet MS", 8.25f, false},
     .transparent = true,
     .tabIndex = 10,
     .centered = true,
     .wrap = true},
    {.kind = Kind::Frame,
     .name = "Frame1",
     .left = 120,
     .top = 1680,
     .width = 6855,
     .height = 855,
     .text = "Current Progress",
     .tabIndex = 6},
    {.kind = Kind::Label,
     .name = "Label1",
     .container = "Frame1",
     .left = 240,
     .top = 360,
     .width = 5535,
     .height = 255,
     .text = "_",
     .tabIndex = 7},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 60, .enabled = false},
}};

constexpr std::array<ControlSpec, 1> kFooterRow = {{
    {.kind = Kind::Label,
     .name = "Label6",
     .left = 1440,
     .top = 4200,
     .width = 5775,
     .height = 375,
     .text = kFooter,
     .foreColor = ui::hex(0x808080),
     .transparent = true,
     .tabIndex = 9},
}};

constexpr auto kSetupControls =
    common::join(kProgress, common::banner({0, 6615, "Vistrel v1.0 Setup", 0, 1}), kFooterRow);
static_assert(!ui::checkLayout(kSetupControls));

}  // namespace

const ui::FormSpec kSetupLayout = {
    .name = "Form1",
    .caption = "Install Brenlo vistrel v1.0",
    .border = ui::Border::FixedDialog,
    .clientWidth = 7080,
    .clientHeight = 4530,
    .placement = ui::Placement::CenterScreen,
    .taskbar = false,
    .icon = BV_ICON_PROGRAM,
    .controls = kSetupControls,
};

// uninstall.rc gives the uninstaller's own artwork the program icon's number.
const ui::FormSpec kUninstallLayout = {
    .name = "Form1",
    .caption = "Form1",
    .border = ui::Border::Sizable,
    .minButton = true,
    .maxButton = true,
    .clientWidth = 4830,
    .clientHeight = 1425,
    .placement = ui::Placement::WindowsDefault,
    .taskbar = false,
    .icon = BV_ICON_PROGRAM,
};

}  // namespace bv::installer
