// The bar's buttons and its popup menu, by mouse and by keyboard.
#include "agent/agent_bar.h"
#include "resources/resource_ids.h"
#include "ui/controls/timer.h"

namespace bv::agent {

namespace {
constexpr int kRightButton = 2;

// The glyph that tells whether the wallpaper cycles.
int playPauseGlyph(const ui::Timer& wallpaperTimer) {
    return wallpaperTimer.enabled() ? BV_BMP_PAUSE : BV_BMP_PLAY;
}
}  // namespace

void AgentBar::Image1_MouseDown(const ui::MouseArgs& args) {
    if (args.button == kRightButton)
        form.popupMenu();
}

// Moving over the background ends the play/pause button's hover highlight.
void AgentBar::Image1_MouseMove(const ui::MouseArgs&) {
    Image2.setBitmap(playPauseGlyph(Timer1));
}

void AgentBar::Image2_MouseMove(const ui::MouseArgs&) {
    Image2.setBitmap(BV_BMP_LIT);
}

void AgentBar::Image2_Click() {
    Timer1.setEnabled(!Timer1.enabled());
    Image2.setBitmap(playPauseGlyph(Timer1));
}

void AgentBar::Image3_MouseDown(const ui::MouseArgs&) {
    form.popupMenu();
}

// While the bar is the active window: Space is a click on the play/pause
// button; the context-menu key and Shift+F10 open the menu at the bar.
void AgentBar::Form_KeyDown(const ui::KeyArgs& key) {
    if (key.keyCode == ui::Key::Space && key.shift == 0)
        Image2_Click();
    else if (key.keyCode == ui::Key::Apps ||
             (key.keyCode == ui::Key::F10 && key.shift == ui::kShiftKey))
        form.popupMenu(ui::MenuPlace::Window);
}

void AgentBar::rtuy67_Click() {
    ui::step([&] { startConfigurationTool(); });
}

void AgentBar::frty_Click() {
    SettingsWindow& settings = Form2();
    // A window loaded hidden at start-up took the bar's place from before the
    // saved one was applied: show where the bar stands now.
    settings.takeBarPlace();
    settings.form.show();
}

void AgentBar::rtyry_Click() {
    Form3().form.show();
}

void AgentBar::rtyrtyrty_Click() {
    if (app.msgBox("Do you want to close brenlo vistrel v1.0", ui::Buttons::YesNo, ui::Icon::None,
                   "Brenlo Vistrel") == ui::Answer::Yes)
        app.end();
}

}  // namespace bv::agent
