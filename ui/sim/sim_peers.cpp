// The simulated windows: one small peer per control kind, which checks what
// the platform would refuse and keeps the timers on the virtual clock.
#include "ui/sim/sim_peers.h"

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/backend.h"

namespace bv::ui::sim {

namespace {

// Places were limited by checkPlace before they got here.
template <class Hooks>
class Quiet : public Hooks {
  public:
    explicit Quiet(Control&) {}
    void placeChanged() override {}
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

    // Places were limited by checkPlace before they got here.
    void moved() override {}
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

std::unique_ptr<FormPeer> makePeer(SimPlatform& platform, Form& form) {
    return std::make_unique<SimPeer>(platform, form);
}

}  // namespace bv::ui::sim
