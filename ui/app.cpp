#include "ui/app.h"

#include "datastore/failure.h"

namespace bv::ui {

App::App(Platform& platform, std::string title) : platform_(platform), title_(std::move(title)) {}

void App::dispatch(const std::function<void()>& handler) {
    ++depth_;
    try {
        try {
            handler();
        } catch (const Failure& failure) {
            platform_.messageBox(std::string("Run-time error:\r\n\r\n") + failure.what(), title_,
                                 Buttons::Ok, Icon::Stop);
            end();
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

Answer App::msgBox(const std::string& prompt, Buttons buttons, Icon icon,
                   const std::string& title) {
    return platform_.messageBox(prompt, title, buttons, icon);
}

void App::end() {
    platform_.endProgram();
    throw ProgramEnded{};
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
