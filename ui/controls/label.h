#pragma once
// Labels: a caption drawn on their container.
#include <string>

#include "ui/control.h"

namespace bv::ui {

struct LabelPeer : Control::Peer {
    virtual void captionChanged() = 0;
};

class Label : public ControlWith<LabelPeer> {
  public:
    using Peer = LabelPeer;
    Label(Form& form, const ControlSpec& spec) : ControlWith(form, spec), caption_(spec.text) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

  private:
    void makePeer(PeerHost& host) override;
    std::string caption_;
};

namespace Kind {
inline constexpr KindInfo Label{uses::Text | uses::FontFace | uses::Fore | uses::Back |
                                    uses::Transparent | uses::Centered | uses::Wrap | uses::Tab,
                                false, &makeControl<ui::Label>};
}

}  // namespace bv::ui
