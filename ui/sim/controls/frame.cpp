// Frames on the simulated desktop: nothing to show.
#include "ui/controls/frame.h"
#include "ui/sim/sim_form.h"

void bv::ui::Frame::makePeer(PeerHost& host) {
    host.add<sim::Quiet<Control::Peer>>(*this);
}
