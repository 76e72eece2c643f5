#pragma once
// Sliders: a thumb on a range; the user's moves raise Scroll.
#include <cstdint>

#include "ui/control.h"

namespace bv::ui {

struct SliderPeer : Control::Peer {
    virtual void valueChanged() = 0;
};

class Slider : public ControlWith<SliderPeer> {
  public:
    using Peer = SliderPeer;
    Slider(Form& form, const ControlSpec& spec) : ControlWith(form, spec), value_(spec.value) {}
    int min() const { return spec().min; }
    int max() const { return spec().max; }
    int value() const { return value_; }
    // From a handler: moves the thumb, raises no Scroll. A value outside the
    // range is refused with a Failure.
    void setValue(std::int64_t value);

    Event Scroll;

  private:
    friend struct BackEnd;
    // From the user: the back end reports the thumb's new place; whether
    // it changed, in which case the back end raises Scroll.
    bool userMoved(int value);
    void handle(EventKind kind, const MouseArgs&) override {
        if (kind == EventKind::Scroll)
            call(Scroll);
    }
    void makePeer(PeerHost& host) override;
    int value_;
};

namespace Kind {
inline constexpr KindInfo Slider{uses::Range | uses::Tab, false, &makeControl<ui::Slider>};
}

}  // namespace bv::ui
