#pragma once
// The simulated windows: the window of a form, and what the peer of each
// control kind (controls/<kind>.cpp) is made with.
#include <memory>
#include <utility>
#include <vector>

#include "ui/backend.h"
#include "ui/sim/sim_platform.h"

namespace bv::ui::sim {

// The window of a form on the simulated desktop, with a peer per control.
std::unique_ptr<FormPeer> makePeer(SimPlatform& platform, Form& form);

// A peer with nothing to show. Places were limited by checkPlace before
// they got here.
template <class Hooks>
class Quiet : public Hooks {
  public:
    void placeChanged() override {}
};

}  // namespace bv::ui::sim

namespace bv::ui {

class PeerHost {
  public:
    PeerHost(sim::SimPlatform& platform, std::vector<std::unique_ptr<Control::Peer>>& peers)
        : platform_(platform), peers_(peers) {}
    sim::SimPlatform& platform() const { return platform_; }
    // Makes a peer of type P for the control, which takes it as its peer.
    template <class P, class Model, class... Args>
    void add(Model& control, Args&&... args) {
        auto peer = std::make_unique<P>(std::forward<Args>(args)...);
        BackEnd::attach(control, *peer);
        peers_.push_back(std::move(peer));
    }

  private:
    sim::SimPlatform& platform_;
    std::vector<std::unique_ptr<Control::Peer>>& peers_;
};

}  // namespace bv::ui
