#pragma once
// Command buttons.
#include "ui/control.h"

namespace bv::ui {

class Button : public Control {
  public:
    using Control::Control;
    Event Click;

  private:
    void handle(EventKind kind, const MouseArgs&) override {
        if (kind == EventKind::Click)
            call(Click);
    }
    void makePeer(PeerHost& host) override;
};

namespace Kind {
inline constexpr KindInfo Button{uses::Text | uses::FontFace | uses::Tab, false,
                                 &makeControl<ui::Button>};
}

}  // namespace bv::ui
