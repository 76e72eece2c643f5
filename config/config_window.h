#pragma once
// Form1: the configuration tool's main window, where the user picks the top
// ten, previews them, chooses the speed and saves.
#include <array>
#include <optional>
#include <string>

#include "common/about_window.h"
#include "config/kept_pictures.h"
#include "datastore/fileops.h"
#include "ui/app.h"
#include "ui/controls/file_dialog.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/note_box.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer.h"
#include "ui/form.h"

namespace bv::config {

// The caption of a slot with nothing chosen.
inline constexpr const char* kNoPicture = "Click here to add image...";

class ConfigWindow {
  public:
    explicit ConfigWindow(ui::App& app);

    ui::App& app;
    ui::Form form;
    // Slot N is Text[N - 1] and scr[N - 1].
    std::array<ui::TextBox*, 10> Text;
    std::array<ui::NoteBox*, 10> scr;
    ui::NoteBox& sp;
    ui::NoteBox& ok;
    ui::Label& Label1;  // the speed
    ui::Slider& Slider1;
    ui::Timer& Timer1;         // drives the sample-speed indicator
    ui::PictureBox& Picture2;  // the indicator
    ui::Image& Image1;         // the preview
    ui::FileDialog& c;
    ui::SingleInstance<common::AboutWindow> Form2;

    // Ticks of Timer1, 1 to 4; never reset from outside Timer1_Timer.
    int sampleTick = 0;

    ui::TextBox& slotBox(int slot) const { return *Text[static_cast<std::size_t>(slot - 1)]; }
    ui::NoteBox& slotNote(int slot) const { return *scr[static_cast<std::size_t>(slot - 1)]; }

    void Form_Load();
    void Text_Click(int slot);  // Text1_Click ... Text10_Click
    void Text_MouseMove(int slot, const ui::MouseArgs& args);
    // The keyboard's way to the same: a slot with the focus is previewed,
    // and Enter or Space on it picks, as the mouse's move and click do.
    void Text_GotFocus(int slot);
    void Text_KeyDown(int slot, const ui::KeyArgs& key);
    void Command1_Click();  // "&Save"
    void Slider1_Scroll();
    void Timer1_Timer();
    void Command2_Click();  // "&Exit"
    void Command3_Click();  // "&About"

  private:
    // What the preview shows, so that a move over the same unchanged file
    // does nothing.
    struct Shown {
        int slot;
        std::optional<fs::FileStamp> stamp;
    };
    std::optional<Shown> shown_;
    KeptPictures kept_;
    // The slot's file was written by the tool itself.
    void forgetPreview(int slot);
};

}  // namespace bv::config
