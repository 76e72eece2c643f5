#include "ui/control.h"

#include <cmath>

#include "datastore/failure.h"

namespace bv::ui {

Control::Control(Form& form, const ControlSpec& spec)
    : form_(form),
      spec_(spec),
      left_(static_cast<float>(spec.left)),
      top_(static_cast<float>(spec.top)),
      width_(static_cast<float>(spec.width)),
      height_(static_cast<float>(spec.height)),
      visible_(spec.visible) {}

void checkPlace(float twips) {
    const double place = twips;
    if (!std::isfinite(place) || place < -2147483648.0 || place > 2147483647.0)
        throw Failure("Overflow");
}

void Control::setLeft(float twips) {
    checkPlace(twips);
    assign(left_, twips, peer_, &Peer::placeChanged);
}

void Control::setTop(float twips) {
    checkPlace(twips);
    assign(top_, twips, peer_, &Peer::placeChanged);
}

}  // namespace bv::ui
