// Buttons on the simulated desktop: the tests click them (SimPlatform::click).
#include "ui/controls/button.h"
#include "ui/sim/sim_form.h"

void bv::ui::Button::makePeer(PeerHost& host) {
    host.add<sim::Quiet<Control::Peer>>(*this);
}
