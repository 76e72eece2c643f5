// Text boxes on the simulated desktop: nothing to show.
#include "ui/controls/text_box.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimTextBox : public Quiet<TextBoxPeer> {
    void textChanged() override {}
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::TextBox::makePeer(PeerHost& host) {
    host.add<sim::SimTextBox>(*this);
}
