#pragma once
// Picture boxes: a surface with a background colour that holds other controls.
#include "ui/control.h"

namespace bv::ui {

struct PictureBoxPeer : Control::Peer {
    virtual void backColorChanged() = 0;
};

class PictureBox : public ControlWith<PictureBoxPeer> {
  public:
    using Peer = PictureBoxPeer;
    PictureBox(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), back_(spec.backColor) {}
    // kNoColor: the system's 3-D face colour.
    Color backColor() const { return back_; }
    void setBackColor(Color color) { assign(back_, color, peer(), &Peer::backColorChanged); }

  private:
    void makePeer(PeerHost& host) override;
    Color back_;
};

namespace Kind {
inline constexpr KindInfo PictureBox{uses::Back | uses::BorderLine | uses::Tab, true,
                                     &makeControl<ui::PictureBox>};
}

}  // namespace bv::ui
