#include "ui/sim/sim_platform.h"

#include <cmath>

#include "datastore/failure.h"
#include "datastore/fileops.h"

namespace bv::ui::sim {

namespace {

class SimPeer : public FormPeer {
  public:
    SimPeer(SimPlatform& platform, Form& form) : platform_(platform), form_(form) {}
    ~SimPeer() override { platform_.forget(form_); }

    void controlChanged(Control& control, Prop prop) override {
        if (prop == Prop::Timing)
            platform_.schedule(static_cast<Timer&>(control));
        if (prop == Prop::Picture) {
            const Picture& p = static_cast<Image&>(control).picture();
            if (!p.file.empty() && !isPicture(fs::readFile(p.file)))
                throw Failure("Invalid picture");
        }
        if (prop == Prop::Position && !std::isfinite(control.left() + control.top()))
            throw Failure("Invalid property value");
    }
    void moved() override {
        if (!std::isfinite(form_.left()) || !std::isfinite(form_.top()) ||
            std::fabs(form_.left()) > 2147483647.0f || std::fabs(form_.top()) > 2147483647.0f)
            throw Failure("Overflow");
    }
    void show() override { platform_.activate(form_); }
    void hide() override { platform_.hidden(form_); }
    void destroy() override { platform_.forget(form_); }
    int popupMenu() override {
        return platform_.chooseMenuItem ? platform_.chooseMenuItem(form_) : -1;
    }
    void showOpenDialog(FileDialog& dialog) override {
        if (!platform_.chooseFile)
            return;
        if (auto chosen = platform_.chooseFile(dialog))
            dialog.fileName = *chosen;
    }

  private:
    SimPlatform& platform_;
    Form& form_;
};

}  // namespace

std::unique_ptr<FormPeer> SimPlatform::createPeer(Form& form) {
    // Timers laid out enabled run from the window's creation on.
    for (const auto& control : form.controls())
        if (auto* timer = dynamic_cast<Timer*>(control.get()))
            schedule(*timer);
    return std::make_unique<SimPeer>(*this, form);
}

Answer SimPlatform::messageBox(const std::string& prompt, const std::string& title, Buttons buttons,
                               Icon icon) {
    messageBoxes.push_back({prompt, title, buttons, icon, now_});
    if (answer)
        return answer(messageBoxes.back());
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

void SimPlatform::startProgram(const std::string& path, int windowStyle) {
    if (!fs::fileExists(path))
        throw Failure("File not found: " + path);
    programStarts.push_back({path, windowStyle});
}

void SimPlatform::setWallpaper(const std::string& path) {
    wallpapers.push_back({path, now_});
}

void SimPlatform::endProgram() {
    ended_ = true;
    timers_.clear();
}

void SimPlatform::advance(std::int64_t ms) {
    const std::int64_t until = now_ + ms;
    while (!ended_) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.at > until)
                continue;
            if (next == timers_.end() || it->second.at < next->second.at ||
                (it->second.at == next->second.at && it->second.order < next->second.order))
                next = it;
        }
        if (next == timers_.end())
            break;
        Timer& timer = *next->first;
        now_ = next->second.at;
        next->second = {now_ + timer.interval(), order_++};
        fire(timer, EventKind::Timer);
    }
    if (now_ < until)
        now_ = until;
}

void SimPlatform::schedule(Timer& timer) {
    if (timer.running())
        timers_[&timer] = {now_ + timer.interval(), order_++};
    else
        timers_.erase(&timer);
}

void SimPlatform::forget(Form& form) {
    std::erase_if(timers_, [&](const auto& t) { return &t.first->form() == &form; });
    if (active_ == &form)
        active_ = nullptr;
}

void SimPlatform::hidden(Form& form) {
    if (active_ == &form)
        active_ = nullptr;
}

void SimPlatform::fire(Control& control, EventKind kind, const MouseArgs& args) {
    if (ended_)
        return;
    control.form().app().dispatch([&] { control.fire(kind, args); });
}

void SimPlatform::click(Form& form, const std::string& control) {
    fire(form.control(control), EventKind::Click);
}

void SimPlatform::mouseMove(Form& form, const std::string& control) {
    fire(form.control(control), EventKind::MouseMove);
}

void SimPlatform::mouseDown(Form& form, const std::string& control, int button) {
    MouseArgs args;
    args.button = button;
    fire(form.control(control), EventKind::MouseDown, args);
}

void SimPlatform::scroll(Form& form, const std::string& slider, int value) {
    if (ended_)
        return;
    Slider& s = form.slider(slider);
    form.app().dispatch([&] { s.userMoved(value); });
}

void SimPlatform::run(App& app, const std::function<void()>& handler) {
    if (!ended_)
        app.dispatch(handler);
}

void SimPlatform::activate(Form& form) {
    if (ended_ || active_ == &form)
        return;
    Form* previous = std::exchange(active_, &form);
    if (previous && !previous->unloaded() && previous->Form_Deactivate)
        previous->app().dispatch(previous->Form_Deactivate);
}

bool isPicture(const std::string& bytes) {
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M')
        return true;
    if (bytes.size() >= 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8)
        return true;
    return bytes.size() >= 6 && bytes.compare(0, 4, "GIF8") == 0;
}

}  // namespace bv::ui::sim
