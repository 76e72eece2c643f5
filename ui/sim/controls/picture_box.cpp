// Picture boxes on the simulated desktop: nothing to show.
#include "ui/controls/picture_box.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimPictureBox : public Quiet<PictureBoxPeer> {
    void backColorChanged() override {}
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::PictureBox::makePeer(PeerHost& host) {
    host.add<sim::SimPictureBox>(*this);
}
