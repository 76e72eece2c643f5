#include "ui/app.h"

#include <algorithm>

#include "datastore/failure.h"
#include "ui/form.h"

namespace bv::ui {

// One handler running. When the last one is over, the windows unloaded
// meanwhile go. A ProgramEnded stops the handlers it interrupts, nested ones
// first; the outermost one swallows it.
class App::Running {
  public:
    explicit Running(App& app) : app_(app) { ++app_.depth_; }
    ~Running() {
        if (--app_.depth_ == 0)
            app_.retired_.clear();
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    void stop(std::exception_ptr fault) {
        try {
            app_.settle(fault);
        } catch (const ProgramEnded&) {
            if (app_.depth_ > 1)
                throw;
        }
    }

  private:
    App& app_;
};

App::App(Platform& platform, std::string title) : platform_(platform), title_(std::move(title)) {}

bool App::mayRun(const Form* form) const {
    return !ended_ && !(form && form->unloaded());
}

template <class Run>
bool App::guard(const Form* form, const Run& run) {
    if (!mayRun(form))
        return false;
    Running running(*this);
    try {
        run();
    } catch (...) {
        running.stop(std::current_exception());
    }
    return mayRun(form);
}

bool App::raise(Control& control, EventKind kind, const MouseArgs& args) {
    return guard(
        &control.form(), [&] { control.handle(kind, args); });
}

bool App::raise(const Form* form, const Event& handler) {
    return handler ? guard(form, handler) : mayRun(form);
}

void App::report(std::exception_ptr fault) {
    if (ended_)
        return;
    Running running(*this);
    try {
        settle(fault);
    } catch (const ProgramEnded&) {
        // Never beyond the window procedure that met the fault.
    }
}

void App::settle(std::exception_ptr fault) {
    try {
        std::rethrow_exception(fault);
    } catch (const Failure& failure) {
        fail(failure.what());
    } catch (const ProgramEnded&) {
        throw;
    } catch (const std::exception& error) {
        // A programming error still ends the program with the report.
        fail(error.what());
    } catch (...) {
        fail("Unexpected error");
    }
}

bool App::reportAndGoOn(const std::function<void()>& statement, const std::string& intro,
                        const std::string& title, Icon icon) {
    try {
        statement();
        return true;
    } catch (const Failure& failure) {
        msgBox(intro + "\r\n\r\n" + failure.what(), Buttons::Ok, icon, title);
        return false;
    }
}

void App::fail(const std::string& what) {
    try {
        msgBox("Run-time error:\r\n\r\n" + what, Buttons::Ok, Icon::Stop, title_);
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
        // The report could not be shown: the program ends all the same,
        // rather than running on with its state unknown.
    }
    end();
}

Answer App::msgBox(const std::string& prompt, Buttons buttons, Icon icon,
                   const std::string& title) {
    return platform_.messageBox(prompt, buttons, icon, title);
}

void App::end() {
    ended_ = true;
    platform_.endProgram();
    throw ProgramEnded{};
}

void App::unloadAndEnd() {
    // Newest first, as each window's own handlers may still use older ones.
    const std::vector<Form*> forms = forms_;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if (std::find(forms_.begin(), forms_.end(), *it) != forms_.end())
            (*it)->unload();
    end();
}

void App::retire(std::shared_ptr<void> window) {
    if (depth_ == 0)
        return;  // dropped here and now
    retired_.push_back(std::move(window));
}

bool step(const std::function<void()>& statement) {
    try {
        statement();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace bv::ui
