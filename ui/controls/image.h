#pragma once
// Images: a picture drawn on their container, with mouse events.
#include <string>

#include "ui/control.h"

namespace bv::ui {

// A picture: one of the program's resources, or a file loaded at run time.
struct Picture {
    PictureRef resource{};
    std::string file;
    bool operator==(const Picture&) const = default;
};

struct ImagePeer : Control::Peer {
    // Throws Failure when the picture cannot be loaded.
    virtual void pictureChanged() = 0;
};

class Image : public ControlWith<ImagePeer> {
  public:
    using Peer = ImagePeer;
    Image(Form& form, const ControlSpec& spec)
        : ControlWith(form, spec), picture_{spec.picture, {}} {}
    const Picture& picture() const { return picture_; }
    // Throws Failure when the picture cannot be loaded.
    void setPicture(Picture picture);
    void setBitmap(int resource) { setPicture({{PictureType::Bitmap, resource}, {}}); }
    void loadPicture(const std::string& file) { setPicture({{}, file}); }

    Event Click;
    MouseEvent MouseDown;
    MouseEvent MouseMove;

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
