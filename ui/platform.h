#pragma once
// What a back end offers the window layer: real Win32 windows, or the
// simulated windows of the native tests.
#include <memory>
#include <string>

namespace bv::ui {

class Form;

enum class Buttons { Ok, YesNo };  // Yes/No boxes have Yes as the default button
enum class Icon { None, Information, Question, Exclamation, Stop };
enum class Answer { Ok = 1, Yes = 6, No = 7 };

// Thrown through the handlers when the program ends but the back end keeps
// the process (the simulated one); the outermost dispatch stops it.
struct ProgramEnded {};

// Where a popup menu opens: at the mouse pointer, or at the window's
// top-left corner (opened from the keyboard).
enum class MenuPlace { Pointer, Window };

// One window's presence on the screen. Its controls have peers of their own
// (Control::Peer and the hooks of each kind).
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    // The form's left or top changed. May throw Failure when the platform
    // refuses the place; the form then keeps its old one.
    virtual void moved() = 0;
    // Shows, brings to the front and activates. The deactivation of the
    // window that was active follows as an event of its own, after the
    // current one.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void destroy() = 0;
    // Opens the window's popup menu; the chosen item's index in the menu
    // table, or -1.
    virtual int popupMenu(MenuPlace place) = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;
    // Makes the hidden window and a peer for each of its controls.
    virtual std::unique_ptr<FormPeer> createPeer(Form& form) = 0;
    virtual Answer messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                              const std::string& title) = 0;
    // Starts a program by path with a window style (2: minimized with the
    // focus) without waiting. Throws Failure when it cannot be started.
    virtual void startProgram(const std::string& path, int windowStyle) = 0;
    // SystemParametersInfoA(20, 0, path, 1); the result is not looked at.
    virtual void setWallpaper(const std::string& path) = 0;
    // Ends the program at once: no further handler runs. A back end that
    // keeps the process (the simulated one) returns, and the caller unwinds.
    virtual void endProgram() = 0;
};

}  // namespace bv::ui
