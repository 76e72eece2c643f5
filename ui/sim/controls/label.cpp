// Labels on the simulated desktop: nothing to show.
#include "ui/controls/label.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimLabel : public Quiet<LabelPeer> {
    void captionChanged() override {}
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::Label::makePeer(PeerHost& host) {
    host.add<sim::SimLabel>(*this);
}
