#pragma once
// The simulated back end of the native tests: no windows, a virtual clock
// that delivers timer ticks, scripted answers for message boxes, menus and
// dialogs, and a record of everything the program asked of the platform.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/platform.h"

namespace bv::ui::sim {

struct MessageBoxCall {
    std::string prompt, title;
    Buttons buttons;
    Icon icon;
    std::int64_t at;
};

struct ProgramStart {
    std::string path;
    int windowStyle;
};

struct WallpaperCall {
    std::string path;
    std::int64_t at;
};

class SimPlatform : public Platform {
  public:
    std::unique_ptr<FormPeer> createPeer(Form& form) override;
    Answer messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                      const std::string& title) override;
    void startProgram(const std::string& path, int windowStyle) override;
    void setWallpaper(const std::string& path) override;
    void endProgram() override;

    // The virtual clock, in milliseconds since the start.
    std::int64_t now() const { return now_; }
    // Lets time pass, delivering every timer tick that falls due, in order.
    void advance(std::int64_t ms);

    // Scripts: how the user answers. Unset, a message box gets its default
    // button, a menu is closed without a choice and a dialog is cancelled.
    std::function<Answer(const MessageBoxCall&)> answer;
    std::function<int(Form&)> chooseMenuItem;
    std::function<std::optional<std::string>(FileDialog&)> chooseFile;

    // What the program asked for.
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<ProgramStart> programStarts;
    std::vector<WallpaperCall> wallpapers;
    std::vector<MenuPlace> menuPlaces;  // where each popup menu opened
    bool ended() const { return ended_; }

    // The user's actions, each delivered as one event.
    void raise(Control& control, EventKind kind, const MouseArgs& args = {});
    void click(Form& form, const std::string& control);
    void mouseMove(Form& form, const std::string& control);
    void mouseDown(Form& form, const std::string& control, int button);
    void scroll(Form& form, const std::string& slider, int value);
    // A key pressed on the active window.
    void keyDown(Form& form, int keyCode, int shift = 0);
    // The keyboard focus moves to a text box, and a key pressed on it.
    void focus(Form& form, const std::string& textBox);
    void keyDown(Form& form, const std::string& textBox, int keyCode, int shift = 0);
    // Runs any handler as an event of its own (Form_Load at start, a menu item).
    void raise(App& app, const std::function<void()>& handler);
    // The user activates a window. The program's previously active window
    // is told as an event of its own: after the current event, as a posted
    // message arrives on Win32.
    void activate(Form& form);
    Form* active() const { return active_; }

    // Used by the peers.
    void schedule(Timer& timer);
    void hidden(Form& form);
    void forget(Form& form);

  private:
    template <class Deliver>
    void event(Deliver deliver);
    void deliverPending();

    int busy_ = 0;
    std::vector<Form*> pending_;  // windows to tell of their deactivation
    std::int64_t now_ = 0;
    std::uint64_t order_ = 0;
    struct Due {
        std::int64_t at;
        std::uint64_t order;
    };
    std::map<Timer*, Due> timers_;
    Form* active_ = nullptr;
    bool ended_ = false;
};

// Whether the bytes are a picture the platform can load (BMP, JPEG, GIF).
bool isPicture(const std::string& bytes);

}  // namespace bv::ui::sim
