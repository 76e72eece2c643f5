#include "ui/controls/image.h"

namespace bv::ui {

void Image::setPicture(Picture picture) {
    assign(picture_, std::move(picture), peer(), &Peer::pictureChanged);
}

bool Image::fire(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return run(Click);
        case EventKind::MouseDown:
            return run(MouseDown, args);
        case EventKind::MouseMove:
            return run(MouseMove, args);
        default:
            return false;
    }
}

}  // namespace bv::ui
