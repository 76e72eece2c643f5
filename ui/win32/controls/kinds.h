#pragma once
// The Win32 side of each control kind, one file each in this folder. Each
// maker builds the kind's Child and attaches it to the model as its peer.
#include <memory>

#include "ui/controls.h"
#include "ui/win32/children.h"

namespace bv::ui::win32 {

std::unique_ptr<Child> makeLabel(Win32Form& form, Label& label, int index);
std::unique_ptr<Child> makeTextBox(Win32Form& form, TextBox& box, int index);
std::unique_ptr<Child> makeButton(Win32Form& form, Button& button, int index);
std::unique_ptr<Child> makeFrame(Win32Form& form, Frame& frame, int index);
std::unique_ptr<Child> makePictureBox(Win32Form& form, PictureBox& box, int index);
std::unique_ptr<Child> makeImage(Win32Form& form, Image& image, int index);
std::unique_ptr<Child> makeTimer(Win32Form& form, Timer& timer, int index);
std::unique_ptr<Child> makeSlider(Win32Form& form, Slider& slider, int index);
std::unique_ptr<Child> makeNoteBox(Win32Form& form, NoteBox& box, int index);
std::unique_ptr<Child> makeFileDialog(Win32Form& form, FileDialog& dialog, int index);

// The window classes of the two containers, frames and picture boxes.
extern const wchar_t kFrameClass[];
extern const wchar_t kPictureBoxClass[];

}  // namespace bv::ui::win32
