#include "agent/settings_window.h"

#include <algorithm>
#include <string>

#include "agent/layouts.h"
#include "datastore/numbers.h"
#include "datastore/paths.h"
#include "ui/controls/button.h"

namespace bv::agent {

SettingsWindow::SettingsWindow(ui::App& app, ui::Form& bar)
    : form(app, kSettingsWindowLayout),
      agentBar(bar),
      Slider1(form.slider("Slider1")),
      Slider2(form.slider("Slider2")),
      topt(form.noteBox("topt")),
      leftt(form.noteBox("leftt")) {
    form.Form_Load = [this] { Form_Load(); };
    Slider1.Scroll = [this] { Slider1_Scroll(); };
    Slider2.Scroll = [this] { Slider2_Scroll(); };
    form.button("Command2").Click = [this] { Command2_Click(); };
}

namespace {
// A place from a hand-edited note may lie outside a slider's range.
std::int64_t within(const ui::Slider& slider, float twips) {
    return std::clamp<std::int64_t>(num::roundHalfEven(twips), slider.min(), slider.max());
}
}  // namespace

void SettingsWindow::takeBarPlace() {
    Slider1.setValue(within(Slider1, agentBar.top()));
    Slider2.setValue(within(Slider2, agentBar.left()));
}

void SettingsWindow::Form_Load() {
    takeBarPlace();
}

void SettingsWindow::Slider1_Scroll() {
    ui::step([&] { agentBar.setTop(static_cast<float>(Slider1.value())); });
}

void SettingsWindow::Slider2_Scroll() {
    ui::step([&] { agentBar.setLeft(static_cast<float>(Slider2.value())); });
}

void SettingsWindow::Command2_Click() {
    topt.setText(num::decimal(Slider1.value()));
    leftt.setText(num::decimal(Slider2.value()));
    // The bar must go on cycling: say what failed and keep the window open.
    const bool saved = form.app().reportAndGoOn(
        [&] {
            topt.saveFile(paths::topNote());
            leftt.saveFile(paths::leftNote());
        },
        "The position could not be saved.", "Vistrel Agent - Settings");
    if (!saved)
        return;
    form.unload();
}

}  // namespace bv::agent
