#pragma once
// What every control of a window is. Each kind (ui/controls/<kind>.h) keeps
// its properties in its model class, so that handlers and tests read and
// change them alike on every back end. A change that must show goes to the
// control's peer through a hook of the kind's own (Label::Peer::captionChanged,
// Slider::Peer::valueChanged, ...). Each back end makes one peer per control:
// it defines every kind's makePeer, in a file of its own per kind.
// Handlers are plain function members.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "ui/layout.h"
#include "ui/platform.h"

namespace bv::ui {

class Form;
struct BackEnd;
// Each back end defines it: what a control's peer is made with there.
class PeerHost;

struct MouseArgs {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;
    float x = 0, y = 0;  // twips, in the control
};

// A key as the window gets it: the platform's key code, the shift state
// as MouseArgs has it.
struct KeyArgs {
    int keyCode = 0;
    int shift = 0;
};
namespace Key {
inline constexpr int Enter = 0x0D;
inline constexpr int Space = 0x20;
inline constexpr int Apps = 0x5D;  // the context-menu key
inline constexpr int F10 = 0x79;
}  // namespace Key
inline constexpr int kShiftKey = 1, kCtrlKey = 2, kAltKey = 4;

using Event = std::function<void()>;
using MouseEvent = std::function<void(const MouseArgs&)>;
using KeyEvent = std::function<void(const KeyArgs&)>;

enum class EventKind { Click, MouseDown, MouseMove, Scroll, Timer, GotFocus };

// The one limit of places, for windows and controls on every back end: a
// finite number of twips that a 32-bit whole number holds. The test is made
// in double precision, since the single nearest 2147483647 is 2^31, which
// does not fit. Throws Failure("Overflow") for any other place.
void checkPlace(float twips);

class Control {
  public:
    // What every peer is told. May throw Failure when the platform refuses
    // the new value; the model then keeps its old one.
    struct Peer {
        virtual ~Peer() = default;
        virtual void placeChanged() = 0;
    };

    Control(Form& form, const ControlSpec& spec);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlSpec& spec() const { return spec_; }
    const char* name() const { return spec_.name; }
    KindRef kind() const { return spec_.kind; }
    Form& form() const { return form_; }

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void setLeft(float twips);
    void setTop(float twips);
    bool visible() const { return visible_; }

  protected:
    // Gives the property its new value and calls the peer's hook; if the
    // peer refuses it, the old value is back and the Failure goes on.
    template <class T, class V, class P>
    void assign(T& property, V&& value, P* peer, void (P::*hook)()) {
        T old = std::exchange(property, std::forward<V>(value));
        if (!peer)
            return;
        try {
            (peer->*hook)();
        } catch (...) {
            property = std::move(old);
            throw;
        }
    }
    // Calls the handler if one is set.
    static void call(const Event& handler) {
        if (handler)
            handler();
    }
    static void call(const MouseEvent& handler, const MouseArgs& args) {
        if (handler)
            handler(args);
    }

  private:
    friend struct BackEnd;
    friend class App;
    // Calls this control's handler for the event, if it has one. Only
    // App::raise calls it: the guard of every handler.
    virtual void handle(EventKind, const MouseArgs&) {}
    // Defined by the back end, in its file for the kind.
    virtual void makePeer(PeerHost& host) = 0;

    Form& form_;
    const ControlSpec& spec_;
    Peer* peer_ = nullptr;
    float left_, top_, width_, height_;
    bool visible_;
};

// A control whose kind has hooks of its own: its peer is a P.
template <class P>
class ControlWith : public Control {
  public:
    using Control::Control;

  protected:
    P* peer() const { return peer_; }

  private:
    friend struct BackEnd;
    P* peer_ = nullptr;
};

// KindInfo::make of the kind whose model class is C.
template <class C>
std::unique_ptr<Control> makeControl(Form& form, const ControlSpec& spec) {
    return std::make_unique<C>(form, spec);
}

class MenuItem {
  public:
    explicit MenuItem(const MenuItemSpec& spec) : spec_(spec) {}
    const char* name() const { return spec_.name; }
    const char* caption() const { return spec_.caption; }
    bool separator() const { return caption()[0] == '-' && caption()[1] == '\0'; }
    Event Click;

  private:
    const MenuItemSpec& spec_;
};

}  // namespace bv::ui
