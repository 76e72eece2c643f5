#pragma once
// Frames: a captioned group that holds other controls.
#include "ui/control.h"

namespace bv::ui {

class Frame : public Control {
  public:
    using Control::Control;

  private:
    void makePeer(PeerHost& host) override;
};

namespace Kind {
inline constexpr KindInfo Frame{uses::Text | uses::FontFace | uses::Back | uses::Tab, true,
                                &makeControl<ui::Frame>};
}

}  // namespace bv::ui
