#include "ui/controls/text_box.h"

namespace bv::ui {

void TextBox::setText(std::string text) {
    assign(text_, std::move(text), peer(), &Peer::textChanged);
}

void TextBox::handle(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return call(Click);
        case EventKind::MouseMove:
            return call(MouseMove, args);
        case EventKind::GotFocus:
            return call(GotFocus);
        default:
            return;
    }
}

}  // namespace bv::ui
