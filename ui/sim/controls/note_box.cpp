// Note boxes on the simulated desktop: the notes are real files.
#include "ui/controls/note_box.h"
#include "ui/sim/sim_form.h"

void bv::ui::NoteBox::makePeer(PeerHost& host) {
    host.add<sim::Quiet<Control::Peer>>(*this);
}
