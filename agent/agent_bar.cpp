#include "agent/agent_bar.h"

#include "agent/layouts.h"
#include "datastore/paths.h"

namespace bv::agent {

AgentBar::AgentBar(ui::App& application)
    : app(application),
      form(application, kAgentBarLayout),
      Timer1(form.timer("Timer1")),
      Timer2(form.timer("Timer2")),
      Text1(form.textBox("Text1")),
      sp(form.noteBox("sp")),
      Image1(form.image("Image1")),
      Image2(form.image("Image2")),
      Image3(form.image("Image3")),
      Form2(application, [this] { return std::make_unique<SettingsWindow>(app, form); }),
      Form3(application, [this] {
          return std::make_unique<common::AboutWindow>(app, common::kAgentAboutLayout);
      }) {
    form.Form_Load = [this] { Form_Load(); };
    form.Form_KeyDown = [this](const ui::KeyArgs& k) { Form_KeyDown(k); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    Image1.MouseDown = [this](const ui::MouseArgs& a) { Image1_MouseDown(a); };
    Image1.MouseMove = [this](const ui::MouseArgs& a) { Image1_MouseMove(a); };
    Image2.MouseMove = [this](const ui::MouseArgs& a) { Image2_MouseMove(a); };
    Image2.Click = [this] { Image2_Click(); };
    Image2.pressedWhile = &Timer1;
    Image3.MouseDown = [this](const ui::MouseArgs& a) { Image3_MouseDown(a); };
    form.menuItem("rtuy67").Click = [this] { rtuy67_Click(); };
    form.menuItem("frty").Click = [this] { frty_Click(); };
    form.menuItem("rtyry").Click = [this] { rtyry_Click(); };
    form.menuItem("rtyrtyrty").Click = [this] { rtyrtyrty_Click(); };
}

void AgentBar::startConfigurationTool() {
    constexpr int kMinimizedWithFocus = 2;
    app.platform().startProgram(paths::configToolExe(), kMinimizedWithFocus);
}

}  // namespace bv::agent
