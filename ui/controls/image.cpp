#include "ui/controls/image.h"

namespace bv::ui {

void Image::setPicture(Picture picture) {
    assign(picture_, std::move(picture), peer(), &Peer::pictureChanged);
}

void Image::handle(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return call(Click);
        case EventKind::MouseDown:
            return call(MouseDown, args);
        case EventKind::MouseMove:
            return call(MouseMove, args);
        default:
            return;
    }
}

}  // namespace bv::ui
