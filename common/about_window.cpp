#include "common/about_window.h"

#include "common/banner.h"
#include "resources/resource_ids.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/text_box.h"
#include "ui/layout_check.h"

namespace bv::common {

namespace {

using ui::ControlSpec;
namespace Kind = ui::Kind;

constexpr const char* kAboutText =
    "==== Brenlo Vistrel ====\r\n"
    "\r\n"
    "v1.0 Top Ten Edition\r\n"
    "Author : Kelvo Brenlo\r\n"
    "(c) 2010-2011 Brenlo Corporation\r\n"
    "\r\n"
    "Contact 011-2345678,011-8765432\r\n";

constexpr const char* kFooter = "(c) 2010-2011 Brenlo Corporation | ouput date : 2011.06.13";

struct FocusOrder {
    int frame, picture, text, button, footer;
};

constexpr std::array<ControlSpec, 3> body(FocusOrder tab) {
    return {{
        {.kind = Kind::TextBox,
         .name = "Text1",
         .left = 120,
         .top = 1680,
         .width = 5055,
         .height = 2055,
         .text = kAboutText,
         .font = {"Trebuchet MS", 9.75f, false},
         .tabIndex = tab.text,
         .readOnly = true,
         .multiLine = true,
         .vScroll = true,
         .centered = true},
        {.kind = Kind::Button,
         .name = "Command1",
         .left = 3840,
         .top = 3840,
         .width = 1335,
         .height = 375,
         .text = "A&ccept",
         .tabIndex = tab.button},
        {.kind = Kind::Label,
         .name = "Label1",
         .left = 120,
         .top = 3960,
         .width = 3735,
         .height = 255,
         .text = kFooter,
         .foreColor = ui::hex(0x808080),
         .tabIndex = tab.footer},
    }};
}

// The button takes the focus in the agent's copy; the banner in the tool's.
constexpr FocusOrder kAgentFocus{2, 3, 1, 0, 8};
constexpr FocusOrder kConfigFocus{0, 1, 6, 7, 8};

constexpr auto kAgentControls = join(
    banner({0, 4815, "Vistrel v1.0", kAgentFocus.frame, kAgentFocus.picture}), body(kAgentFocus));
constexpr auto kConfigControls =
    join(banner({0, 4815, "Vistrel v1.0", kConfigFocus.frame, kConfigFocus.picture}),
         body(kConfigFocus));
static_assert(!ui::checkLayout(kAgentControls));
static_assert(!ui::checkLayout(kConfigControls));

}  // namespace

const ui::FormSpec kAgentAboutLayout = {
    .name = "Form3",
    .caption = "Form3",
    .border = ui::Border::FixedDialog,
    .clientWidth = 5280,
    .clientHeight = 4335,
    .placement = ui::Placement::CenterScreen,
    .taskbar = false,
    .icon = BV_ICON_PROGRAM,
    .controls = kAgentControls,
};

const ui::FormSpec kConfigAboutLayout = {
    .name = "Form2",
    .caption = "About Vistrel v1.0",
    .border = ui::Border::FixedDialog,
    .clientWidth = 5265,
    .clientHeight = 4305,
    .placement = ui::Placement::CenterScreen,
    .taskbar = false,
    .icon = BV_ICON_PROGRAM,
    .controls = kConfigControls,
};

AboutWindow::AboutWindow(ui::App& app, const ui::FormSpec& layout) : form(app, layout) {
    form.button("Command1").Click = [this] { Command1_Click(); };
    form.Form_Deactivate = [this] { Form_Deactivate(); };
}

void AboutWindow::Command1_Click() {
    form.unload();
}

// Another window of this program took the activation: take it back.
void AboutWindow::Form_Deactivate() {
    form.show();
}

}  // namespace bv::common
