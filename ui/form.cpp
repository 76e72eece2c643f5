#include "ui/form.h"

#include <stdexcept>
#include <utility>

#include "ui/app.h"
#include "ui/layout_check.h"

namespace bv::ui {

const char* Form::keep(const char* text) {
    if (!text)
        return nullptr;
    return texts_.emplace_back(text).c_str();
}

Form::Form(App& app, const FormSpec& spec)
    : app_(app),
      spec_(spec),
      left_(static_cast<float>(spec.left)),
      top_(static_cast<float>(spec.top)) {
    if (const LayoutError error = checkLayout(spec))
        throw std::logic_error(std::string("layout of ") + (spec.name ? spec.name : "?") + ": " +
                               error.problem + " (" + error.control + ")");
    spec_.name = keep(spec.name);
    spec_.caption = keep(spec.caption);
    spec_.menuName = keep(spec.menuName);
    spec_.menuCaption = keep(spec.menuCaption);
    rows_.assign(spec.controls.begin(), spec.controls.end());
    for (ControlSpec& row : rows_) {
        row.name = keep(row.name);
        row.container = keep(row.container);
        row.text = keep(row.text);
        row.font.face = keep(row.font.face);
        row.tooltip = keep(row.tooltip);
    }
    spec_.controls = rows_;
    menuRows_.assign(spec.menu.begin(), spec.menu.end());
    for (MenuItemSpec& item : menuRows_) {
        item.name = keep(item.name);
        item.caption = keep(item.caption);
    }
    spec_.menu = menuRows_;

    controls_.reserve(rows_.size());
    for (const ControlSpec& row : rows_)
        controls_.push_back(row.kind->make(*this, row));
    menu_.reserve(menuRows_.size());
    for (const MenuItemSpec& item : menuRows_)
        menu_.emplace_back(item);
    peer_ = app.platform().createPeer(*this);
    app_.forms_.push_back(this);
}

Form::~Form() {
    std::erase(app_.forms_, this);
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
    checkPlace(twips);
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
    if (Form_Terminate)
        Form_Terminate();
}

void Form::popupMenu(MenuPlace place) {
    const int chosen = peer_->popupMenu(place);
    if (chosen < 0 || chosen >= static_cast<int>(menu_.size()))
        return;
    if (menu_[static_cast<std::size_t>(chosen)].Click)
        menu_[static_cast<std::size_t>(chosen)].Click();
}

}  // namespace bv::ui
