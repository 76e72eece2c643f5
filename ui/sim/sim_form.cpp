// The window of a form on the simulated desktop.
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {

namespace {

class SimPeer : public FormPeer {
  public:
    SimPeer(SimPlatform& platform, Form& form) : platform_(platform), form_(form) {
        PeerHost host(platform, controls_);
        for (const auto& control : form.controls())
            BackEnd::makePeer(*control, host);
    }
    ~SimPeer() override { platform_.forget(form_); }

    // Places were limited by checkPlace before they got here.
    void moved() override {}
    void show() override { platform_.activate(form_); }
    void hide() override { platform_.hidden(form_); }
    void destroy() override { platform_.forget(form_); }
    int popupMenu(MenuPlace place) override {
        platform_.menuPlaces.push_back(place);
        return platform_.chooseMenuItem ? platform_.chooseMenuItem(form_) : -1;
    }

  private:
    SimPlatform& platform_;
    Form& form_;
    std::vector<std::unique_ptr<Control::Peer>> controls_;
};

}  // namespace

std::unique_ptr<FormPeer> makePeer(SimPlatform& platform, Form& form) {
    return std::make_unique<SimPeer>(platform, form);
}

}  // namespace bv::ui::sim
