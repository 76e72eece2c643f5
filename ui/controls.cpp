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

void Control::tellPeer(Prop prop) {
    form_.peer().controlChanged(*this, prop);
}

void Control::setLeft(float twips) {
    assign(left_, twips, Prop::Position);
}

void Control::setTop(float twips) {
    assign(top_, twips, Prop::Position);
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
    assign(caption_, std::move(caption), Prop::Text);
}

void TextBox::setText(std::string text) {
    assign(text_, std::move(text), Prop::Text);
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
    assign(back_, color, Prop::BackColor);
}

void Image::setPicture(Picture picture) {
    assign(picture_, std::move(picture), Prop::Picture);
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
    assign(interval_, static_cast<int>(ms), Prop::Timing);
}

void Timer::setEnabled(bool enabled) {
    assign(enabled_, enabled, Prop::Timing);
}

bool Timer::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Timer && run(Tick);
}

void Slider::setValue(std::int64_t value) {
    if (value < min() || value > max())
        throw Failure("Invalid property value");
    assign(value_, static_cast<int>(value), Prop::Value);
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
