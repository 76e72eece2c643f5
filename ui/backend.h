#pragma once
// What only a back end does with the portable model: attach peers and
// report the user's own changes (events go through App::raise). Handlers
// never include this.
#include <concepts>
#include <string>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/form.h"

namespace bv::ui {

struct BackEnd {
    // A kind with hooks of its own (C::Peer) takes only a peer of its kind.
    template <class C>
    requires std::derived_from<C, Control>
    static void attach(C& control, typename C::Peer& peer) { control.peer_ = &peer; }
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
    // The user moved a slider's thumb: the value follows it, and a change
    // raises Scroll. Nothing once the program has ended.
    static void userMoved(Slider& slider, int value) {
        App& app = slider.form().app();
        if (!app.ended() && slider.userMoved(value))
            app.raise(slider, EventKind::Scroll);
    }
    // A key pressed while the text box has the focus: its KeyDown runs.
    static void userPressed(TextBox& box, const KeyArgs& key) {
        box.form().app().raise(
            box.form(),
            [&box, key] {
                if (box.KeyDown)
                    box.KeyDown(key);
            });
    }
    // The user pressed a key on the window itself: its Form_KeyDown runs.
    static void userPressed(Form& form, const KeyArgs& key) {
        form.app().raise(
            form,
            [&form, key] {
                if (form.Form_KeyDown)
                    form.Form_KeyDown(key);
            });
    }
};

}  // namespace bv::ui
