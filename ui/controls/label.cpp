#include "ui/controls/label.h"

namespace bv::ui {

void Label::setCaption(std::string caption) {
    assign(caption_, std::move(caption), peer(), &Peer::captionChanged);
}

}  // namespace bv::ui
