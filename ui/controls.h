#pragma once
// The controls of a window. Each keeps its properties here, so that handlers
// and tests read and change them alike on every back end; the form's peer is
// told of every change it must show. Handlers are plain function members.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "ui/layout.h"
#include "ui/platform.h"

namespace bv::ui {

class Form;

struct MouseArgs {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;
    float x = 0, y = 0;  // twips, in the control
};

using Event = std::function<void()>;
using MouseEvent = std::function<void(const MouseArgs&)>;

enum class EventKind { Click, MouseDown, MouseMove, Scroll, Timer };

class Control {
  public:
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

    // Runs this control's handler for the event, if it has one. Returns
    // whether it had one. The caller dispatches (failure mode, end of program).
    virtual bool fire(EventKind kind, const MouseArgs& args);

  protected:
    // Gives the property its new value and tells the peer; if the peer
    // refuses it, the old value is back and the Failure goes on.
    template <class T, class V>
    void assign(T& property, V&& value, Prop prop) {
        T old = std::exchange(property, std::forward<V>(value));
        try {
            tellPeer(prop);
        } catch (...) {
            property = std::move(old);
            throw;
        }
    }

  private:
    void tellPeer(Prop prop);

    Form& form_;
    const ControlSpec& spec_;
    float left_, top_, width_, height_;
    bool visible_;
};

class Label : public Control {
  public:
    Label(Form& form, const ControlSpec& spec) : Control(form, spec), caption_(spec.text) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

  private:
    std::string caption_;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, const ControlSpec& spec) : Control(form, spec), text_(spec.text) {}
    const std::string& text() const { return text_; }
    void setText(std::string text);
    // The user's own edits, as the back end sees them (no peer round trip).
    void takeUserText(std::string text) { text_ = std::move(text); }

    Event Click;
    MouseEvent MouseMove;
    bool fire(EventKind kind, const MouseArgs& args) override;

  private:
    std::string text_;
};

class Button : public Control {
  public:
    using Control::Control;
    Event Click;
    bool fire(EventKind kind, const MouseArgs& args) override;
};

class Frame : public Control {
  public:
    using Control::Control;
};

class PictureBox : public Control {
  public:
    PictureBox(Form& form, const ControlSpec& spec) : Control(form, spec), back_(spec.backColor) {}
    Color backColor() const { return back_; }
    void setBackColor(Color color);

  private:
    Color back_;
};

// A picture: one of the program's resources, or a file loaded at run time.
struct Picture {
    PictureRef resource{};
    std::string file;
    bool operator==(const Picture&) const = default;
};

class Image : public Control {
  public:
    Image(Form& form, const ControlSpec& spec) : Control(form, spec), picture_{spec.picture, {}} {}
    const Picture& picture() const { return picture_; }
    // Throws Failure when the picture cannot be loaded.
    void setPicture(Picture picture);
    void setBitmap(int resource) { setPicture({{PictureType::Bitmap, resource}, {}}); }
    void loadPicture(const std::string& file) { setPicture({{}, file}); }

    Event Click;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    bool fire(EventKind kind, const MouseArgs& args) override;

  private:
    Picture picture_;
};

class Timer : public Control {
  public:
    Timer(Form& form, const ControlSpec& spec)
        : Control(form, spec), interval_(spec.interval), enabled_(spec.enabled) {}
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    // 0 to 65535 ms; anything else is refused with a Failure. 0 never ticks.
    void setInterval(std::int64_t ms);
    void setEnabled(bool enabled);
    // Whether the timer ticks at all.
    bool running() const { return enabled_ && interval_ > 0; }

    Event Tick;  // the Timer event
    bool fire(EventKind kind, const MouseArgs& args) override;

  private:
    int interval_;
    bool enabled_;
};

class Slider : public Control {
  public:
    Slider(Form& form, const ControlSpec& spec) : Control(form, spec), value_(spec.value) {}
    int min() const { return spec().min; }
    int max() const { return spec().max; }
    int value() const { return value_; }
    // From a handler: moves the thumb, raises no Scroll. A value outside the
    // range is refused with a Failure.
    void setValue(std::int64_t value);
    // From the user: the back end reports the thumb's new place; a change
    // raises Scroll through the dispatcher.
    void userMoved(int value);

    Event Scroll;
    bool fire(EventKind kind, const MouseArgs& args) override;

  private:
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
    std::string text_;
};

class FileDialog : public Control {
  public:
    using Control::Control;
    std::string title;
    std::string fileName;
    // Modal; afterwards fileName holds the chosen full path.
    void showOpen();
};

class MenuItem {
  public:
    MenuItem(const MenuItemSpec& spec) : spec_(spec) {}
    const char* name() const { return spec_.name; }
    const char* caption() const { return spec_.caption; }
    bool separator() const { return caption()[0] == '-' && caption()[1] == '\0'; }
    Event Click;

  private:
    const MenuItemSpec& spec_;
};

}  // namespace bv::ui
