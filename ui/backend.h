#pragma once
// What only a back end does with the portable model: attach peers and
// report the user's own changes (events go through App::raise). Handlers
// never include this.
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
    // The user moved a slider's thumb; whether its value changed, in which
    // case the caller raises Scroll.
    static bool userMoved(Slider& slider, int value) { return slider.userMoved(value); }
};

}  // namespace bv::ui
