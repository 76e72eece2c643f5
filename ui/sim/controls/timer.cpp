// Timers on the simulated desktop: they tick on the virtual clock.
#include "ui/controls/timer.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimTimer : public Quiet<TimerPeer> {
  public:
    SimTimer(SimPlatform& platform, Timer& timer) : platform_(platform), timer_(timer) {
        // Timers laid out enabled run from the window's creation on.
        platform_.schedule(timer_);
    }
    void timingChanged() override { platform_.schedule(timer_); }

  private:
    SimPlatform& platform_;
    Timer& timer_;
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::Timer::makePeer(PeerHost& host) {
    host.add<sim::SimTimer>(*this, host.platform(), *this);
}
