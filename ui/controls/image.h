#pragma once
// Images: a picture drawn on their container, with mouse events.
#include <memory>
#include <string>
#include <utility>

#include "ui/control.h"

namespace bv::ui {

class Timer;

// A picture as an image's peer made it for that image, at the size it shows
// it: shown again by the same image without its file being read or
// decoded. What it holds is the back end's own; empty for none.
class KeptPicture {
  public:
    KeptPicture() = default;
    explicit KeptPicture(std::shared_ptr<const void> made) : made_(std::move(made)) {}
    explicit operator bool() const { return made_ != nullptr; }
    bool operator==(const KeptPicture&) const = default;
    // What the back end put in, as the type it put in.
    template <class T>
    std::shared_ptr<const T> as() const {
        return std::static_pointer_cast<const T>(made_);
    }

  private:
    std::shared_ptr<const void> made_;
};

// A picture: one of the program's resources, or a file loaded at run time,
// or a file as it was kept when it was shown before.
struct Picture {
    PictureRef resource{};
    std::string file;
    KeptPicture kept;  // set: shown as it is, the file is not read
    bool operator==(const Picture&) const = default;
};

struct ImagePeer : Control::Peer {
    // Throws Failure when the picture cannot be loaded.
    virtual void pictureChanged() = 0;
    // The file picture shown now, as made for this image; empty for none.
    virtual KeptPicture kept() const = 0;
};

class Image : public ControlWith<ImagePeer> {
  public:
    using Peer = ImagePeer;
    Image(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), picture_{spec.picture, {}, {}} {}
    const Picture& picture() const { return picture_; }
    // Throws Failure when the picture cannot be loaded.
    void setPicture(Picture picture);
    void setBitmap(int resource) { setPicture({{PictureType::Bitmap, resource}, {}, {}}); }
    void loadPicture(const std::string& file) { setPicture({{}, file, {}}); }
    // The file picture shown now, to be shown again by showKept; empty when
    // there is none, or no peer yet to make one.
    KeptPicture kept() const { return peer() ? peer()->kept() : KeptPicture(); }
    // Shows what kept() gave of `file`, in this same image.
    void showKept(const std::string& file, KeptPicture kept) {
        setPicture({{}, file, std::move(kept)});
    }

    Event Click;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    // A button that switches a timer: screen readers hear it pressed while
    // the timer is enabled, whatever picture it shows.
    const Timer* pressedWhile = nullptr;

  private:
    void handle(EventKind kind, const MouseArgs& args) override;
    void makePeer(PeerHost& host) override;
    Picture picture_;
};

namespace Kind {
inline constexpr KindInfo Image{
    uses::Picture | uses::BorderLine | uses::Stretch | uses::Tooltip | uses::Mouse, false,
    &makeControl<ui::Image>};
}

}  // namespace bv::ui
