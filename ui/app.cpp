#include "ui/app.h"

#include <algorithm>

#include "datastore/failure.h"
#include "ui/form.h"

namespace bv::ui {

App::App(Platform& platform, std::string title) : platform_(platform), title_(std::move(title)) {}

void App::dispatch(const std::function<void()>& handler) {
    ++depth_;
    try {
        try {
            handler();
        } catch (const Failure& failure) {
            fail(failure.what());
        }
    } catch (const ProgramEnded&) {
        // Only the simulated back end returns from endProgram; nothing more runs.
        --depth_;
        if (depth_ > 0)
            throw;
        return;
    } catch (...) {
        --depth_;
        throw;
    }
    if (--depth_ == 0)
        retired_.clear();
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
    msgBox("Run-time error:\r\n\r\n" + what, Buttons::Ok, Icon::Stop, title_);
    end();
}

Answer App::msgBox(const std::string& prompt, Buttons buttons, Icon icon,
                   const std::string& title) {
    return platform_.messageBox(prompt, buttons, icon, title);
}

void App::end() {
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
