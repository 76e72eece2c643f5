#pragma once
// One program: its back end, its windows, and the two ways its handlers meet
// failures (steps that skip them, or the top-level error report).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/platform.h"

namespace bv::ui {

class Form;

class App {
  public:
    App(Platform& platform, std::string title);
    Platform& platform() const { return platform_; }
    const std::string& title() const { return title_; }

    // Runs an event handler. A Failure that escapes it reaches the top-level
    // error report: a message box that names it, then the end of the program.
    void dispatch(const std::function<void()>& handler);

    Answer msgBox(const std::string& prompt, Buttons buttons, Icon icon, const std::string& title);
    [[noreturn]] void end();

    // Keeps an unloaded window alive until no handler runs any more.
    void retire(std::shared_ptr<void> window);

  private:
    Platform& platform_;
    std::string title_;
    int depth_ = 0;
    std::vector<std::shared_ptr<void>> retired_;
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
