#include "ui/controls.h"

#include <utility>

#include "datastore/failure.h"
#include "datastore/note.h"
#include "ui/form.h"

namespace bv::ui {

Control::Control(Form& form, const ControlSpec& spec)
    : form_(form),
      spec_(spec),
      left_(static_cast<float>(spec.left)),
      top_(static_cast<float>(spec.top)),
      width_(static_cast<float>(spec.width)),
      height_(static_cast<float>(spec.height)),
      visible_(spec.visible) {}

void Control::changed(Prop prop, const std::function<void()>& undo) {
    try {
        form_.peer().controlChanged(*this, prop);
    } catch (...) {
        undo();
        throw;
    }
}

void Control::setLeft(float twips) {
    const float old = left_;
    left_ = twips;
    changed(Prop::Position, [&] { left_ = old; });
}

void Control::setTop(float twips) {
    const float old = top_;
    top_ = twips;
    changed(Prop::Position, [&] { top_ = old; });
}

bool Control::fire(EventKind, const MouseArgs&) {
    return false;
}

namespace {
bool run(const Event& e) {
    if (!e)
        return false;
    e();
    return true;
}
bool run(const MouseEvent& e, const MouseArgs& args) {
    if (!e)
        return false;
    e(args);
    return true;
}
}  // namespace

void Label::setCaption(std::string caption) {
    std::string old = std::exchange(caption_, std::move(caption));
    changed(Prop::Text, [&] { caption_ = std::move(old); });
}

void TextBox::setText(std::string text) {
    std::string old = std::exchange(text_, std::move(text));
    changed(Prop::Text, [&] { text_ = std::move(old); });
}

bool TextBox::fire(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return run(Click);
        case EventKind::MouseMove:
            return run(MouseMove, args);
        default:
            return false;
    }
}

bool Button::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Click && run(Click);
}

void PictureBox::setBackColor(Color color) {
    const Color old = std::exchange(back_, color);
    changed(Prop::BackColor, [&] { back_ = old; });
}

void Image::setPicture(Picture picture) {
    Picture old = std::exchange(picture_, std::move(picture));
    changed(Prop::Picture, [&] { picture_ = std::move(old); });
}

bool Image::fire(EventKind kind, const MouseArgs& args) {
    switch (kind) {
        case EventKind::Click:
            return run(Click);
        case EventKind::MouseDown:
            return run(MouseDown, args);
        case EventKind::MouseMove:
            return run(MouseMove, args);
        default:
            return false;
    }
}

void Timer::setInterval(std::int64_t ms) {
    if (ms < 0 || ms > 65535)
        throw Failure("Invalid property value");
    const int old = std::exchange(interval_, static_cast<int>(ms));
    changed(Prop::Timing, [&] { interval_ = old; });
}

void Timer::setEnabled(bool enabled) {
    const bool old = std::exchange(enabled_, enabled);
    changed(Prop::Timing, [&] { enabled_ = old; });
}

bool Timer::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Timer && run(Tick);
}

void Slider::setValue(std::int64_t value) {
    if (value < min() || value > max())
        throw Failure("Invalid property value");
    const int old = std::exchange(value_, static_cast<int>(value));
    changed(Prop::Value, [&] { value_ = old; });
}

void Slider::userMoved(int value) {
    if (value < min())
        value = min();
    if (value > max())
        value = max();
    if (value == value_)
        return;
    value_ = value;
    fire(EventKind::Scroll, {});
}

bool Slider::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Scroll && run(Scroll);
}

void NoteBox::loadFile(const std::string& path) {
    text_ = note::readNote(path);
}

void NoteBox::saveFile(const std::string& path) const {
    note::writeNote(path, text_);
}

void FileDialog::showOpen() {
    form().peer().showOpenDialog(*this);
}

}  // namespace bv::ui
