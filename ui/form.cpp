#include "ui/form.h"

#include <stdexcept>
#include <utility>

#include "ui/app.h"

namespace bv::ui {

namespace {
std::unique_ptr<Control> makeControl(Form& form, const ControlSpec& spec) {
    switch (spec.kind) {
        case Kind::Label:
            return std::make_unique<Label>(form, spec);
        case Kind::TextBox:
            return std::make_unique<TextBox>(form, spec);
        case Kind::Button:
            return std::make_unique<Button>(form, spec);
        case Kind::Frame:
            return std::make_unique<Frame>(form, spec);
        case Kind::PictureBox:
            return std::make_unique<PictureBox>(form, spec);
        case Kind::Image:
            return std::make_unique<Image>(form, spec);
        case Kind::Timer:
            return std::make_unique<Timer>(form, spec);
        case Kind::Slider:
            return std::make_unique<Slider>(form, spec);
        case Kind::NoteBox:
            return std::make_unique<NoteBox>(form, spec);
        case Kind::FileDialog:
            return std::make_unique<FileDialog>(form, spec);
    }
    throw std::logic_error("unknown control kind");
}
}  // namespace

Form::Form(App& app, const FormSpec& spec)
    : app_(app),
      spec_(spec),
      left_(static_cast<float>(spec.left)),
      top_(static_cast<float>(spec.top)) {
    controls_.reserve(spec.controls.size());
    for (const ControlSpec& c : spec.controls)
        controls_.push_back(makeControl(*this, c));
    menu_.reserve(spec.menu.size());
    for (const MenuItemSpec& m : spec.menu)
        menu_.emplace_back(m);
    peer_ = app.platform().createPeer(*this);
}

Form::~Form() {
    if (peer_ && !unloaded_)
        peer_->destroy();
}

void Form::load() {
    if (Form_Load)
        Form_Load();
}

Control* Form::find(const std::string& name) const {
    for (const auto& c : controls_)
        if (name == c->name())
            return c.get();
    return nullptr;
}

Control& Form::control(const std::string& name) const {
    if (Control* c = find(name))
        return *c;
    throw std::logic_error(std::string("no control ") + name + " on " + spec_.name);
}

MenuItem& Form::menuItem(const std::string& name) {
    for (MenuItem& m : menu_)
        if (name == m.name())
            return m;
    throw std::logic_error(std::string("no menu item ") + name + " on " + spec_.name);
}

void Form::moveEdge(float& edge, float twips) {
    const float old = std::exchange(edge, twips);
    try {
        peer_->moved();
    } catch (...) {
        edge = old;
        throw;
    }
}

void Form::show() {
    visible_ = true;
    peer_->show();
}

void Form::hide() {
    visible_ = false;
    peer_->hide();
}

void Form::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    visible_ = false;
    peer_->destroy();
}

void Form::popupMenu() {
    const int chosen = peer_->popupMenu();
    if (chosen < 0 || chosen >= static_cast<int>(menu_.size()))
        return;
    if (menu_[static_cast<std::size_t>(chosen)].Click)
        menu_[static_cast<std::size_t>(chosen)].Click();
}

}  // namespace bv::ui
