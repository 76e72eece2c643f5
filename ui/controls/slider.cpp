#include "ui/controls/slider.h"

#include <utility>

#include "datastore/failure.h"

namespace bv::ui {

void Slider::setValue(std::int64_t value) {
    if (value < min() || value > max())
        throw Failure("Invalid property value");
    assign(value_, static_cast<int>(value), peer(), &Peer::valueChanged);
}

bool Slider::userMoved(int value) {
    if (value < min())
        value = min();
    if (value > max())
        value = max();
    return std::exchange(value_, value) != value;
}

}  // namespace bv::ui
