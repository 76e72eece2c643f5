#include "config/config_window.h"

#include "config/layouts.h"
#include "ui/controls/button.h"

namespace bv::config {

ConfigWindow::ConfigWindow(ui::App& application)
    : app(application),
      form(application, kConfigWindowLayout),
      sp(form.noteBox("sp")),
      ok(form.noteBox("ok")),
      Label1(form.label("Label1")),
      Slider1(form.slider("Slider1")),
      Timer1(form.timer("Timer1")),
      Picture2(form.pictureBox("Picture2")),
      Image1(form.image("Image1")),
      c(form.fileDialog("c")),
      Form2(application, [this] {
          return std::make_unique<common::AboutWindow>(app, common::kConfigAboutLayout);
      }) {
    for (int n = 1; n <= 10; ++n) {
        const std::string number = std::to_string(n);
        ui::TextBox& box = form.textBox("Text" + number);
        Text[static_cast<std::size_t>(n - 1)] = &box;
        scr[static_cast<std::size_t>(n - 1)] = &form.noteBox("scr" + number);
        box.Click = [this, n] { Text_Click(n); };
        box.MouseMove = [this, n](const ui::MouseArgs& a) { Text_MouseMove(n, a); };
        box.GotFocus = [this, n] { Text_GotFocus(n); };
        box.KeyDown = [this, n](const ui::KeyArgs& k) { Text_KeyDown(n, k); };
    }
    form.Form_Load = [this] { Form_Load(); };
    form.button("Command1").Click = [this] { Command1_Click(); };
    form.button("Command2").Click = [this] { Command2_Click(); };
    form.button("Command3").Click = [this] { Command3_Click(); };
    Slider1.Scroll = [this] { Slider1_Scroll(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

}  // namespace bv::config
