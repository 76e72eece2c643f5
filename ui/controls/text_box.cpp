#include "ui/controls/text_box.h"

namespace bv::ui {

void TextBox::setText(std::string text) {
    assign(text_, std::move(text), peer(), &Peer::textChanged);
}

bool TextBox::fire(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return run(Click);
        case EventKind::MouseMove:
            return run(MouseMove, args);
        default:
            return false;
    }
}

}  // namespace bv::ui
