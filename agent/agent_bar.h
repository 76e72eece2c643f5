#pragma once
// Form1: the bar on the desktop that cycles the wallpaper.
#include "agent/settings_window.h"
#include "common/about_window.h"
#include "ui/app.h"
#include "ui/controls/image.h"
#include "ui/controls/note_box.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer.h"
#include "ui/form.h"

namespace bv::agent {

class AgentBar {
  public:
    explicit AgentBar(ui::App& app);

    ui::App& app;
    ui::Form form;
    ui::Timer& Timer1;  // the wallpaper timer
    ui::Timer& Timer2;  // the blink timer
    ui::TextBox& Text1;
    ui::NoteBox& sp;
    ui::Image& Image1;  // the background
    ui::Image& Image2;  // play/pause
    ui::Image& Image3;  // the menu button
    ui::SingleInstance<SettingsWindow> Form2;
    ui::SingleInstance<common::AboutWindow> Form3;

    // Counters of the two timers; never reset from outside their handlers.
    int wallpaperStep = 0;
    int blinkStep = 0;

    // Starts the configuration tool from its Start Menu path, minimized with
    // the focus, without waiting. Throws Failure when it cannot be started.
    void startConfigurationTool();

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();

    void Image1_MouseDown(const ui::MouseArgs& args);
    void Image1_MouseMove(const ui::MouseArgs& args);
    void Image2_MouseMove(const ui::MouseArgs& args);
    void Image2_Click();
    void Image3_MouseDown(const ui::MouseArgs& args);
    void Form_KeyDown(const ui::KeyArgs& key);
    void rtuy67_Click();     // "Settings..."
    void frty_Click();       // "Position..."
    void rtyry_Click();      // "About"
    void rtyrtyrty_Click();  // "Exit"
};

}  // namespace bv::agent
