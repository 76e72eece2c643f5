// Note boxes: hidden rich text boxes that only read and write note files
// (ui/controls/note_box.cpp does that); nothing of them is on the screen.
#include "ui/controls/note_box.h"
#include "ui/backend.h"
#include "ui/win32/children.h"

namespace bv::ui::win32 {

namespace {

class Win32NoteBox final : public ChildWith<Control::Peer> {
  public:
    using ChildWith::ChildWith;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::NoteBox::makePeer(PeerHost& host) {
    host.add<win32::Win32NoteBox>(*this);
}
