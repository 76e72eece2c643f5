#pragma once
// Form2: places the agent bar by two sliders and stores the place.
#include "ui/app.h"
#include "ui/controls/note_box.h"
#include "ui/controls/slider.h"
#include "ui/form.h"

namespace bv::agent {

class SettingsWindow {
  public:
    SettingsWindow(ui::App& app, ui::Form& agentBar);

    ui::Form form;
    ui::Form& agentBar;
    ui::Slider& Slider1;  // top edge, twips
    ui::Slider& Slider2;  // left edge, twips
    ui::NoteBox& topt;
    ui::NoteBox& leftt;

    // The sliders take the bar's place, held within their ranges.
    void takeBarPlace();

    void Form_Load();
    void Slider1_Scroll();
    void Slider2_Scroll();
    void Command2_Click();
};

}  // namespace bv::agent
