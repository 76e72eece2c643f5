#pragma once
// A window built from its layout table. Creating a Form checks the layout,
// keeps its own copy of it (a table built at run time may go away), creates
// the controls and the (hidden) peer; load() then runs Form_Load, as loading
// a window does.
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/layout.h"
#include "ui/platform.h"

namespace bv::ui {

class App;
struct BackEnd;
class Label;
class TextBox;
class Button;
class PictureBox;
class Image;
class Timer;
class Slider;
class NoteBox;
class FileDialog;

class Form {
  public:
    Form(App& app, const FormSpec& spec);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    App& app() const { return app_; }
    const FormSpec& spec() const { return spec_; }
    const char* name() const { return spec_.name; }

    // Runs Form_Load. Failures reach the caller.
    void load();

    // Controls by their layout names; a wrong name or kind is a programming
    // error (std::logic_error).
    Control* find(const std::string& name) const;
    Control& control(const std::string& name) const;
    template <class T>
    T& get(const std::string& name) const {
        if (auto* c = dynamic_cast<T*>(&control(name)))
            return *c;
        throw std::logic_error("control " + name + " has another kind");
    }
    // Short names for the kinds that come with the layer; the kind's header
    // is needed where one is used. Any other kind: get<T>.
    template <class T = Label>
    T& label(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = TextBox>
    T& textBox(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = Button>
    T& button(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = PictureBox>
    T& pictureBox(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = Image>
    T& image(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = Timer>
    T& timer(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = Slider>
    T& slider(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = NoteBox>
    T& noteBox(const std::string& n) const {
        return get<T>(n);
    }
    template <class T = FileDialog>
    T& fileDialog(const std::string& n) const {
        return get<T>(n);
    }
    MenuItem& menuItem(const std::string& name);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    const std::vector<MenuItem>& menu() const { return menu_; }

    // The window's outer top-left corner, in twips, as single-precision numbers.
    float left() const { return left_; }
    float top() const { return top_; }
    void setLeft(float twips) { moveEdge(left_, twips); }
    void setTop(float twips) { moveEdge(top_, twips); }

    bool visible() const { return visible_; }
    void show();
    void hide();
    // Closes and destroys the window, then runs Form_Terminate; its owner
    // drops it once the current event is over.
    void unload();
    bool unloaded() const { return unloaded_; }

    // Opens the popup menu at the mouse pointer, or at the window; the chosen
    // item's Click runs after the menu has closed.
    void popupMenu(MenuPlace place = MenuPlace::Pointer);

    Event Form_Load;
    Event Form_Deactivate;
    Event Form_Terminate;
    // A key pressed while the window is active and none of its controls has
    // the focus; a key held down counts once.
    KeyEvent Form_KeyDown;

  private:
    friend struct BackEnd;
    const char* keep(const char* text);
    // A place beyond checkPlace's limit, or one the platform refuses, leaves
    // the edge where it was.
    void moveEdge(float& edge, float twips);

    App& app_;
    // The layout as this window holds it: rows, menu and texts its own.
    std::deque<std::string> texts_;
    std::vector<ControlSpec> rows_;
    std::vector<MenuItemSpec> menuRows_;
    FormSpec spec_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<MenuItem> menu_;
    std::unique_ptr<FormPeer> peer_;
    float left_, top_;
    bool visible_ = false;
    bool unloaded_ = false;
};

}  // namespace bv::ui
