#include "ui/sim/sim_platform.h"

#include <algorithm>
#include <cmath>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/backend.h"

namespace bv::ui::sim {

namespace {

// Every control's place: a number the platform can hold.
template <class Hooks>
class Quiet : public Hooks {
  public:
    explicit Quiet(Control& control) : control_(control) {}
    void placeChanged() override {
        if (!std::isfinite(control_.left() + control_.top()))
            throw Failure("Invalid property value");
    }

  private:
    Control& control_;
};

using PlacePeer = Quiet<Control::Peer>;

class SimLabel : public Quiet<LabelPeer> {
  public:
    using Quiet::Quiet;
    void captionChanged() override {}
};

class SimTextBox : public Quiet<TextBoxPeer> {
  public:
    using Quiet::Quiet;
    void textChanged() override {}
};

class SimPictureBox : public Quiet<PictureBoxPeer> {
  public:
    using Quiet::Quiet;
    void backColorChanged() override {}
};

class SimSlider : public Quiet<SliderPeer> {
  public:
    using Quiet::Quiet;
    void valueChanged() override {}
};

class SimImage : public Quiet<ImagePeer> {
  public:
    explicit SimImage(Image& image) : Quiet(image), image_(image) {}
    void pictureChanged() override {
        const Picture& p = image_.picture();
        if (!p.file.empty() && !isPicture(fs::readFile(p.file)))
            throw Failure("Invalid picture");
    }

  private:
    Image& image_;
};

class SimTimer : public Quiet<TimerPeer> {
  public:
    SimTimer(SimPlatform& platform, Timer& timer)
        : Quiet(timer), platform_(platform), timer_(timer) {
        // Timers laid out enabled run from the window's creation on.
        platform_.schedule(timer_);
    }
    void timingChanged() override { platform_.schedule(timer_); }

  private:
    SimPlatform& platform_;
    Timer& timer_;
};

class SimFileDialog : public Quiet<FileDialogPeer> {
  public:
    SimFileDialog(SimPlatform& platform, FileDialog& dialog)
        : Quiet(dialog), platform_(platform), dialog_(dialog) {}
    std::optional<std::string> showOpen() override {
        if (!platform_.chooseFile)
            return std::nullopt;
        return platform_.chooseFile(dialog_);
    }

  private:
    SimPlatform& platform_;
    FileDialog& dialog_;
};

// Makes the peer of each control by its kind.
class PeerMaker : public ControlVisitor {
  public:
    PeerMaker(SimPlatform& platform, std::vector<std::unique_ptr<Control::Peer>>& peers)
        : platform_(platform), peers_(peers) {}
    void visit(Label& c) override { attach<SimLabel>(c, c); }
    void visit(TextBox& c) override { attach<SimTextBox>(c, c); }
    void visit(Button& c) override { attach<PlacePeer>(c, c); }
    void visit(Frame& c) override { attach<PlacePeer>(c, c); }
    void visit(PictureBox& c) override { attach<SimPictureBox>(c, c); }
    void visit(Image& c) override { attach<SimImage>(c, c); }
    void visit(Timer& c) override { attach<SimTimer>(c, platform_, c); }
    void visit(Slider& c) override { attach<SimSlider>(c, c); }
    void visit(NoteBox& c) override { attach<PlacePeer>(c, c); }
    void visit(FileDialog& c) override { attach<SimFileDialog>(c, platform_, c); }

  private:
    template <class P, class C, class... Args>
    void attach(C& control, Args&&... args) {
        auto peer = std::make_unique<P>(std::forward<Args>(args)...);
        BackEnd::attach(control, *peer);
        peers_.push_back(std::move(peer));
    }
    SimPlatform& platform_;
    std::vector<std::unique_ptr<Control::Peer>>& peers_;
};

class SimPeer : public FormPeer {
  public:
    SimPeer(SimPlatform& platform, Form& form) : platform_(platform), form_(form) {
        PeerMaker maker(platform, controls_);
        for (const auto& control : form.controls())
            BackEnd::visit(*control, maker);
    }
    ~SimPeer() override { platform_.forget(form_); }

    // The window place limit: a number that fits the platform's coordinates.
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

  private:
    SimPlatform& platform_;
    Form& form_;
    std::vector<std::unique_ptr<Control::Peer>> controls_;
};

}  // namespace

std::unique_ptr<FormPeer> SimPlatform::createPeer(Form& form) {
    return std::make_unique<SimPeer>(*this, form);
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
    std::erase(pending_, &form);
    if (active_ == &form)
        active_ = nullptr;
}

void SimPlatform::hidden(Form& form) {
    if (active_ == &form)
        active_ = nullptr;
}

void SimPlatform::deliver(App& app, const std::function<void()>& handler) {
    if (ended_)
        return;
    struct Busy {
        int& count;
        ~Busy() { --count; }
    } busy{++busy_};
    app.dispatch(handler);
    if (busy_ == 1)
        deliverPending();
}

void SimPlatform::deliverPending() {
    while (!pending_.empty() && !ended_) {
        Form* form = pending_.front();
        pending_.erase(pending_.begin());
        if (form->unloaded() || !form->Form_Deactivate)
            continue;
        ++busy_;
        form->app().dispatch(form->Form_Deactivate);
        --busy_;
    }
}

void SimPlatform::fire(Control& control, EventKind kind, const MouseArgs& args) {
    deliver(control.form().app(), [&] { BackEnd::fire(control, kind, args); });
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
    Slider& s = form.slider(slider);
    deliver(form.app(), [&] { BackEnd::userMoved(s, value); });
}

void SimPlatform::run(App& app, const std::function<void()>& handler) {
    deliver(app, handler);
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
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M')
        return true;
    if (bytes.size() >= 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8)
        return true;
    return bytes.size() >= 6 && bytes.compare(0, 4, "GIF8") == 0;
}

}  // namespace bv::ui::sim
