#pragma once
// The controls of a window. Each keeps its properties here, so that handlers
// and tests read and change them alike on every back end. A change that must
// show goes to the control's peer through a hook of the control's own kind
// (Label::Peer::captionChanged, Slider::Peer::valueChanged, ...); the back
// end makes one peer per control. Handlers are plain function members.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "ui/layout.h"
#include "ui/platform.h"

namespace bv::ui {

class Form;
struct BackEnd;
struct ControlVisitor;

struct MouseArgs {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;
    float x = 0, y = 0;  // twips, in the control
};

using Event = std::function<void()>;
using MouseEvent = std::function<void(const MouseArgs&)>;

enum class EventKind { Click, MouseDown, MouseMove, Scroll, Timer };

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
    Kind kind() const { return spec_.kind; }
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
    static bool run(const Event& e);
    static bool run(const MouseEvent& e, const MouseArgs& args);

  private:
    friend struct BackEnd;
    // Runs this control's handler for the event, if it has one; whether it
    // had one. The caller dispatches (failure mode, end of program).
    virtual bool fire(EventKind kind, const MouseArgs& args);
    virtual void accept(ControlVisitor& visitor) = 0;

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

struct LabelPeer : Control::Peer {
    virtual void captionChanged() = 0;
};

class Label : public ControlWith<LabelPeer> {
  public:
    using Peer = LabelPeer;
    Label(Form& form, const ControlSpec& spec) : ControlWith(form, spec), caption_(spec.text) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

  private:
    void accept(ControlVisitor& visitor) override;
    std::string caption_;
};

struct TextBoxPeer : Control::Peer {
    virtual void textChanged() = 0;
};

class TextBox : public ControlWith<TextBoxPeer> {
  public:
    using Peer = TextBoxPeer;
    TextBox(Form& form, const ControlSpec& spec) : ControlWith(form, spec), text_(spec.text) {}
    const std::string& text() const { return text_; }
    void setText(std::string text);
    bool readOnly() const { return spec().readOnly; }

    Event Click;
    MouseEvent MouseMove;

  private:
    friend struct BackEnd;
    bool fire(EventKind kind, const MouseArgs& args) override;
    void accept(ControlVisitor& visitor) override;
    std::string text_;
};

class Button : public Control {
  public:
    using Control::Control;
    Event Click;

  private:
    bool fire(EventKind kind, const MouseArgs& args) override;
    void accept(ControlVisitor& visitor) override;
};

class Frame : public Control {
  public:
    using Control::Control;

  private:
    void accept(ControlVisitor& visitor) override;
};

struct PictureBoxPeer : Control::Peer {
    virtual void backColorChanged() = 0;
};

class PictureBox : public ControlWith<PictureBoxPeer> {
  public:
    using Peer = PictureBoxPeer;
    PictureBox(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), back_(spec.backColor) {}
    // kNoColor: the system's 3-D face colour.
    Color backColor() const { return back_; }
    void setBackColor(Color color);

  private:
    void accept(ControlVisitor& visitor) override;
    Color back_;
};

// A picture: one of the program's resources, or a file loaded at run time.
struct Picture {
    PictureRef resource{};
    std::string file;
    bool operator==(const Picture&) const = default;
};

struct ImagePeer : Control::Peer {
    // Throws Failure when the picture cannot be loaded.
    virtual void pictureChanged() = 0;
};

class Image : public ControlWith<ImagePeer> {
  public:
    using Peer = ImagePeer;
    Image(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), picture_{spec.picture, {}} {}
    const Picture& picture() const { return picture_; }
    // Throws Failure when the picture cannot be loaded.
    void setPicture(Picture picture);
    void setBitmap(int resource) { setPicture({{PictureType::Bitmap, resource}, {}}); }
    void loadPicture(const std::string& file) { setPicture({{}, file}); }

    Event Click;
    MouseEvent MouseDown;
    MouseEvent MouseMove;

  private:
    bool fire(EventKind kind, const MouseArgs& args) override;
    void accept(ControlVisitor& visitor) override;
    Picture picture_;
};

struct TimerPeer : Control::Peer {
    virtual void timingChanged() = 0;
};

class Timer : public ControlWith<TimerPeer> {
  public:
    using Peer = TimerPeer;
    Timer(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), interval_(spec.interval), enabled_(spec.enabled) {}
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    // 0 to 65535 ms; anything else is refused with a Failure. 0 never ticks.
    void setInterval(std::int64_t ms);
    void setEnabled(bool enabled);
    // Whether the timer ticks at all.
    bool running() const { return enabled_ && interval_ > 0; }

    Event Tick;  // the Timer event

  private:
    bool fire(EventKind kind, const MouseArgs& args) override;
    void accept(ControlVisitor& visitor) override;
    int interval_;
    bool enabled_;
};

struct SliderPeer : Control::Peer {
    virtual void valueChanged() = 0;
};

class Slider : public ControlWith<SliderPeer> {
  public:
    using Peer = SliderPeer;
    Slider(Form& form, const ControlSpec& spec) : ControlWith(form, spec), value_(spec.value) {}
    int min() const { return spec().min; }
    int max() const { return spec().max; }
    int value() const { return value_; }
    // From a handler: moves the thumb, raises no Scroll. A value outside the
    // range is refused with a Failure.
    void setValue(std::int64_t value);

    Event Scroll;

  private:
    friend struct BackEnd;
    // From the user: the back end reports the thumb's new place; a change
    // raises Scroll.
    void userMoved(int value);
    bool fire(EventKind kind, const MouseArgs& args) override;
    void accept(ControlVisitor& visitor) override;
    int value_;
};

// A hidden rich text box that only reads and writes note files.
class NoteBox : public Control {
  public:
    NoteBox(Form& form, const ControlSpec& spec) : Control(form, spec), text_(spec.text) {}
    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // Replaces the text by the note's; on a Failure the text stays.
    void loadFile(const std::string& path);
    // Throws Failure; the old file then stays as it was.
    void saveFile(const std::string& path) const;

  private:
    void accept(ControlVisitor& visitor) override;
    std::string text_;
};

struct FileDialogPeer : Control::Peer {
    // Modal. The chosen full path, or nothing on a cancel. Throws Failure
    // when the dialog cannot be shown.
    virtual std::optional<std::string> showOpen() = 0;
};

class FileDialog : public ControlWith<FileDialogPeer> {
  public:
    using Peer = FileDialogPeer;
    using ControlWith::ControlWith;
    std::string title;
    std::string fileName;
    // Modal. A choice puts its full path in fileName and returns true; a
    // cancel leaves fileName as it was and returns false.
    bool showOpen();

  private:
    void accept(ControlVisitor& visitor) override;
};

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

// One visit per kind: how a back end makes the peer of each control without
// asking for its kind. A new kind adds its line here.
struct ControlVisitor {
    virtual ~ControlVisitor() = default;
    virtual void visit(Label&) = 0;
    virtual void visit(TextBox&) = 0;
    virtual void visit(Button&) = 0;
    virtual void visit(Frame&) = 0;
    virtual void visit(PictureBox&) = 0;
    virtual void visit(Image&) = 0;
    virtual void visit(Timer&) = 0;
    virtual void visit(Slider&) = 0;
    virtual void visit(NoteBox&) = 0;
    virtual void visit(FileDialog&) = 0;
};

}  // namespace bv::ui
