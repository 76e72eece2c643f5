#include "ui/controls/slider.h"

#include "datastore/failure.h"

namespace bv::ui {

void Slider::setValue(std::int64_t value) {
    if (value < min() || value > max())
        throw Failure("Invalid property value");
    assign(value_, static_cast<int>(value), peer(), &Peer::valueChanged);
}

void Slider::userMoved(int value) {
    if (value < min())
        value = min();
    if (value > max())
        value = max();
    if (value == value_)
        return;
    value_ = value;
    fire(EventKind::Scroll, {});
}

}  // namespace bv::ui
