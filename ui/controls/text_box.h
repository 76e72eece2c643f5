#pragma once
// Text boxes: an edit field, read-only ones with Click and MouseMove; any
// with the keyboard's GotFocus and KeyDown.
#include <string>

#include "ui/control.h"

namespace bv::ui {

struct TextBoxPeer : Control::Peer {
    virtual void textChanged() = 0;
};

class TextBox : public ControlWith<TextBoxPeer> {
  public:
    using Peer = TextBoxPeer;
    TextBox(Form& form, const ControlSpec& spec) : ControlWith(form, spec), text_(spec.text) {}
    const std::string& text() const { return text_; }
    void setText(std::string text);
    bool readOnly() const { return spec().readOnly; }

    Event Click;
    MouseEvent MouseMove;
    Event GotFocus;
    KeyEvent KeyDown;

  private:
    friend struct BackEnd;
    void handle(EventKind kind, const MouseArgs& args) override;
    void makePeer(PeerHost& host) override;
    std::string text_;
};

namespace Kind {
inline constexpr KindInfo TextBox{
    uses::Text | uses::FontFace | uses::Edit | uses::Centered | uses::Tab, false,
    &makeControl<ui::TextBox>};
}

}  // namespace bv::ui
