// Sliders on the simulated desktop: the tests move them (SimPlatform::scroll).
#include "ui/controls/slider.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimSlider : public Quiet<SliderPeer> {
    void valueChanged() override {}
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::Slider::makePeer(PeerHost& host) {
    host.add<sim::SimSlider>(*this);
}
