#pragma once
// What only a back end does with the portable model: attach peers, report
// the user's own changes and deliver events. Handlers never include this.
#include <concepts>
#include <string>

#include "ui/control.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/form.h"

namespace bv::ui {

struct BackEnd {
    static void attach(Control& control, Control::Peer& peer) { control.peer_ = &peer; }
    template <class C>
    requires std::derived_from<C, ControlWith<typename C::Peer>>
    static void attach(C& control, typename C::Peer& peer) {
        control.Control::peer_ = &peer;
        control.ControlWith<typename C::Peer>::peer_ = &peer;
    }
    // Makes the control's peer: the back end's makePeer of its kind.
    static void makePeer(Control& control, PeerHost& host) { control.makePeer(host); }

    static FormPeer* peer(const Form& form) { return form.peer_.get(); }
    // Where the window really stands, after a move the program did not ask for.
    static void takePosition(Form& form, float left, float top) {
        form.left_ = left;
        form.top_ = top;
    }
    // The user's own edit of a text box: no peer round trip.
    static void userEdited(TextBox& box, std::string text) { box.text_ = std::move(text); }
    // The user moved a slider's thumb; a change raises Scroll.
    static void userMoved(Slider& slider, int value) { slider.userMoved(value); }
    // Runs the control's handler for the event; whether it has one. The
    // caller dispatches.
    static bool fire(Control& control, EventKind kind, const MouseArgs& args = {}) {
        return control.fire(kind, args);
    }
};

}  // namespace bv::ui
