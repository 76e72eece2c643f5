#include "ui/controls.h"

#include <cmath>
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

void checkPlace(float twips) {
    const double place = twips;
    if (!std::isfinite(place) || place < -2147483648.0 || place > 2147483647.0)
        throw Failure("Overflow");
}

void Control::setLeft(float twips) {
    checkPlace(twips);
    assign(left_, twips, peer_, &Peer::placeChanged);
}

void Control::setTop(float twips) {
    checkPlace(twips);
    assign(top_, twips, peer_, &Peer::placeChanged);
}

bool Control::fire(EventKind, const MouseArgs&) {
    return false;
}

bool Control::run(const Event& e) {
    if (!e)
        return false;
    e();
    return true;
}

bool Control::run(const MouseEvent& e, const MouseArgs& args) {
    if (!e)
        return false;
    e(args);
    return true;
}

void Label::setCaption(std::string caption) {
    assign(caption_, std::move(caption), peer(), &Peer::captionChanged);
}

void Label::accept(ControlVisitor& v) {
    v.visit(*this);
}

void TextBox::setText(std::string text) {
    assign(text_, std::move(text), peer(), &Peer::textChanged);
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

void TextBox::accept(ControlVisitor& v) {
    v.visit(*this);
}

bool Button::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Click && run(Click);
}

void Button::accept(ControlVisitor& v) {
    v.visit(*this);
}

void Frame::accept(ControlVisitor& v) {
    v.visit(*this);
}

void PictureBox::setBackColor(Color color) {
    assign(back_, color, peer(), &Peer::backColorChanged);
}

void PictureBox::accept(ControlVisitor& v) {
    v.visit(*this);
}

void Image::setPicture(Picture picture) {
    assign(picture_, std::move(picture), peer(), &Peer::pictureChanged);
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

void Image::accept(ControlVisitor& v) {
    v.visit(*this);
}

void Timer::setInterval(std::int64_t ms) {
    if (ms < 0 || ms > 65535)
        throw Failure("Invalid property value");
    assign(interval_, static_cast<int>(ms), peer(), &Peer::timingChanged);
}

void Timer::setEnabled(bool enabled) {
    assign(enabled_, enabled, peer(), &Peer::timingChanged);
}

bool Timer::fire(EventKind kind, const MouseArgs&) {
    return kind == EventKind::Timer && run(Tick);
}

void Timer::accept(ControlVisitor& v) {
    v.visit(*this);
}

void Slider::setValue(std::int64_t value) {
    if (value < min() || value > max())
        throw Failure("Invalid property value");
    assign(value_, static_cast<int>(value), peer(), &Peer::valueChanged);
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

void Slider::accept(ControlVisitor& v) {
    v.visit(*this);
}

void NoteBox::loadFile(const std::string& path) {
    text_ = note::readNote(path);
}

void NoteBox::saveFile(const std::string& path) const {
    note::writeNote(path, text_);
}

void NoteBox::accept(ControlVisitor& v) {
    v.visit(*this);
}

bool FileDialog::showOpen() {
    if (!peer())
        return false;
    std::optional<std::string> chosen = peer()->showOpen();
    if (!chosen)
        return false;
    fileName = std::move(*chosen);
    return true;
}

void FileDialog::accept(ControlVisitor& v) {
    v.visit(*this);
}

}  // namespace bv::ui
