#pragma once
// One program: its back end and its windows, and the words its handlers
// use for failures and for ending.
//
// Every event reaches its handler through raise(): the one guard that runs
// nothing once the program has ended or its window is unloaded, and turns
// what escapes a handler into the top-level report.
//
// Three failure modes:
//   step(statement)            the failing step is skipped, the handler goes on;
//   app.reportAndGoOn(...)     the failure is told in a message box, the handler goes on;
//   anything else              a failure that escapes a handler reaches the
//                              top-level report, which names it and ends the program.
// Two ways to end:
//   app.end()                  at once: no further handler runs;
//   app.unloadAndEnd()         every window is unloaded first, so that its
//                              Form_Terminate runs, then the program ends.
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/platform.h"

namespace bv::ui {

class Form;

class App {
  public:
    App(Platform& platform, std::string title);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    Platform& platform() const { return platform_; }
    const std::string& title() const { return title_; }

    // Runs the control's handler for the event, or the form's own handler,
    // under the top-level report. Whether the program still runs and the
    // window is still loaded afterwards: if not, the caller touches neither.
    bool raise(Control& control, EventKind kind, const MouseArgs& args = {});
    bool raise(Form& form, const Event& handler) { return raise(&form, handler); }
    // An event of no window's (the start of a program without one).
    bool raise(const Event& handler) { return raise(nullptr, handler); }
    // A fault that left the window layer's own code outside any handler:
    // reported as a handler's failure is.
    void report(std::exception_ptr fault);

    // Runs a statement; a Failure is shown as `intro`, a blank line and the
    // failure's name, with OK and the icon, and the handler goes on. Whether
    // the statement succeeded.
    bool reportAndGoOn(const std::function<void()>& statement, const std::string& intro,
                       const std::string& title, Icon icon = Icon::Exclamation);
    // The top-level report itself: a message box naming the failure, then
    // the end of the program, even when the box cannot be shown.
    [[noreturn]] void fail(const std::string& what);

    Answer msgBox(const std::string& prompt, Buttons buttons, Icon icon, const std::string& title);

    [[noreturn]] void end();
    [[noreturn]] void unloadAndEnd();
    bool ended() const { return ended_; }

    // Keeps an unloaded window alive until no handler runs any more.
    void retire(std::shared_ptr<void> window);

  private:
    friend class Form;
    class Running;
    // What escaped a handler, as the top-level report; a ProgramEnded goes on.
    [[noreturn]] void settle(std::exception_ptr fault);
    bool raise(const Form* form, const Event& handler);
    // The guard itself, of every raise: runs `run` unless the program has
    // ended or the window is unloaded, settles what escapes it, and answers
    // whether both still hold.
    template <class Run>
    bool guard(const Form* form, const Run& run);
    bool mayRun(const Form* form) const;

    Platform& platform_;
    std::string title_;
    bool ended_ = false;
    int depth_ = 0;  // handlers running, nested ones included
    std::vector<std::shared_ptr<void>> retired_;
    std::vector<Form*> forms_;  // every window not yet destroyed, oldest first
};

// Runs one step of a handler whose steps go on after a failure: a Failure is
// dropped silently. Returns whether the step succeeded.
bool step(const std::function<void()>& statement);

// A secondary window that exists once: created, and its load handler run, on
// first use; after an unload the next use makes it anew.
template <class Window>
class SingleInstance {
  public:
    using Factory = std::function<std::unique_ptr<Window>()>;
    SingleInstance(App& app, Factory make) : app_(app), make_(std::move(make)) {}

    Window& operator()() {
        if (window_ && window_->form.unloaded())
            app_.retire(std::shared_ptr<Window>(std::move(window_)));
        if (!window_) {
            window_ = make_();
            window_->form.load();
        }
        return *window_;
    }
    // The window if it is loaded, without creating it.
    Window* loaded() const {
        return window_ && !window_->form.unloaded() ? window_.get() : nullptr;
    }

  private:
    App& app_;
    Factory make_;
    std::unique_ptr<Window> window_;
};

}  // namespace bv::ui
