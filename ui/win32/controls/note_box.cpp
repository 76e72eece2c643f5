// Note boxes: hidden rich text boxes that only read and write note files
// (ui/controls.cpp does that); nothing of them is on the screen.
#include "ui/backend.h"
#include "ui/win32/controls/kinds.h"

namespace bv::ui::win32 {

namespace {

class Win32NoteBox final : public ChildWith<Control::Peer> {
  public:
    using ChildWith::ChildWith;
};

}  // namespace

std::unique_ptr<Child> makeNoteBox(Win32Form& form, NoteBox& box, int index) {
    auto child = std::make_unique<Win32NoteBox>(form, box, index);
    BackEnd::attach(box, *child);
    return child;
}

}  // namespace bv::ui::win32
