#pragma once
// Timers: a Tick every interval while enabled.
#include <cstdint>

#include "ui/control.h"

namespace bv::ui {

struct TimerPeer : Control::Peer {
    virtual void timingChanged() = 0;
};

class Timer : public ControlWith<TimerPeer> {
  public:
    using Peer = TimerPeer;
    Timer(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), interval_(spec.interval), enabled_(spec.enabled) {}
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    // 0 to 65535 ms; anything else is refused with a Failure. 0 never ticks.
    void setInterval(std::int64_t ms);
    void setEnabled(bool enabled);
    // Whether the timer ticks at all.
    bool running() const { return enabled_ && interval_ > 0; }

    Event Tick;  // the Timer event

  private:
    void handle(EventKind kind, const MouseArgs&) override {
        if (kind == EventKind::Timer)
            call(Tick);
    }
    void makePeer(PeerHost& host) override;
    int interval_;
    bool enabled_;
};

namespace Kind {
inline constexpr KindInfo Timer{uses::Timing, false, &makeControl<ui::Timer>};
}

}  // namespace bv::ui
