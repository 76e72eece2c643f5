#pragma once
#include <memory>

#include "ui/sim/sim_platform.h"

namespace bv::ui::sim {

// The window of a form on the simulated desktop, with a peer per control.
std::unique_ptr<FormPeer> makePeer(SimPlatform& platform, Form& form);

}  // namespace bv::ui::sim
