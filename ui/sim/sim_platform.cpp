#include "ui/sim/sim_platform.h"

#include <algorithm>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/backend.h"
#include "ui/bitmap_file.h"
#include "ui/controls/slider.h"
#include "ui/controls/timer.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {

std::unique_ptr<FormPeer> SimPlatform::createPeer(Form& form) {
    return makePeer(*this, form);
}

Answer SimPlatform::messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                               const std::string& title) {
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
    pending_.clear();
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
        raise(timer, EventKind::Timer);
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
    std::erase(pending_, &form);
    if (active_ == &form)
        active_ = nullptr;
}

void SimPlatform::hidden(Form& form) {
    if (active_ == &form)
        active_ = nullptr;
}

// One event: its handler runs through the program's guard, then the
// deactivations it caused follow, each an event of its own.
template <class Deliver>
void SimPlatform::event(Deliver deliver) {
    if (ended_)
        return;
    struct Busy {
        int& count;
        ~Busy() { --count; }
    } busy{++busy_};
    deliver();
    if (busy_ == 1)
        deliverPending();
}

void SimPlatform::deliverPending() {
    while (!pending_.empty() && !ended_) {
        Form* form = pending_.front();
        pending_.erase(pending_.begin());
        ++busy_;
        form->app().raise(*form, form->Form_Deactivate);
        --busy_;
    }
}

void SimPlatform::raise(Control& control, EventKind kind, const MouseArgs& args) {
    event([&] { control.form().app().raise(control, kind, args); });
}

void SimPlatform::click(Form& form, const std::string& control) {
    raise(form.control(control), EventKind::Click);
}

void SimPlatform::mouseMove(Form& form, const std::string& control) {
    raise(form.control(control), EventKind::MouseMove);
}

void SimPlatform::mouseDown(Form& form, const std::string& control, int button) {
    MouseArgs args;
    args.button = button;
    raise(form.control(control), EventKind::MouseDown, args);
}

void SimPlatform::scroll(Form& form, const std::string& slider, int value) {
    Slider& s = form.slider(slider);
    event([&] { BackEnd::userMoved(s, value); });
}

void SimPlatform::keyDown(Form& form, int keyCode, int shift) {
    event([&] { BackEnd::userPressed(form, KeyArgs{keyCode, shift}); });
}

void SimPlatform::focus(Form& form, const std::string& textBox) {
    raise(form.textBox(textBox), EventKind::GotFocus);
}

void SimPlatform::keyDown(Form& form, const std::string& textBox, int keyCode, int shift) {
    TextBox& box = form.textBox(textBox);
    event([&] { BackEnd::userPressed(box, KeyArgs{keyCode, shift}); });
}

void SimPlatform::raise(App& app, const std::function<void()>& handler) {
    event([&] { app.raise(handler); });
}

void SimPlatform::activate(Form& form) {
    if (ended_ || active_ == &form)
        return;
    Form* previous = std::exchange(active_, &form);
    if (previous && !previous->unloaded() && previous->Form_Deactivate)
        pending_.push_back(previous);
    if (busy_ == 0)
        deliverPending();
}

bool isPicture(const std::string& bytes) {
    const BitmapFile bitmap =
        readBitmapFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (bitmap.verdict != BitmapFile::Verdict::NotPlain)
        return bitmap.verdict == BitmapFile::Verdict::Plain;
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M')
        return true;
    if (bytes.size() >= 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8)
        return true;
    return bytes.size() >= 6 && bytes.compare(0, 4, "GIF8") == 0;
}

}  // namespace bv::ui::sim
