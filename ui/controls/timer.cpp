#include "ui/controls/timer.h"

#include "datastore/failure.h"

namespace bv::ui {

void Timer::setInterval(std::int64_t ms) {
    if (ms < 0 || ms > 65535)
        throw Failure("Invalid property value");
    assign(interval_, static_cast<int>(ms), peer(), &Peer::timingChanged);
}

void Timer::setEnabled(bool enabled) {
    assign(enabled_, enabled, peer(), &Peer::timingChanged);
}

}  // namespace bv::ui
