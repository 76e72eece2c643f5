// Image controls: a picture drawn by their container at its own size (at 96
// dots per inch, scaled with the layout elsewhere) or stretched, with an
// optional single-line border.
#include "ui/controls/image.h"
#include "ui/backend.h"
#include "ui/win32/children.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/metrics.h"
#include "ui/win32/pictures.h"

namespace bv::ui::win32 {

namespace {

class Win32Image final : public ChildWith<ImagePeer> {
  public:
    Win32Image(Win32Form& form, Image& image, int index)
        : ChildWith(form, image, index), image_(image) {}

    bool drawnByContainer() const override { return true; }

    // A picture set before the window was made is loaded already.
    void create() override {
        if (!picture_)
            picture_ = load();
    }

    void pictureChanged() override {
        // Loaded first: a picture that fails changes nothing.
        picture_ = load();
        invalidate();
    }

    KeptPicture kept() const override {
        const Picture& picture = image_.picture();
        if (picture.kept)
            return picture.kept;
        if (picture.file.empty() || !picture_)
            return {};
        return KeptPicture(picture_);
    }

    void paint(HDC dc) const override {
        const ControlSpec& spec = image_.spec();
        RECT inner = rect();
        if (spec.border) {
            FrameRect(dc, &rect(), GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&inner, -1, -1);
        }
        if (!picture_)
            return;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
        RECT dest = inner;
        if (!spec.stretch) {
            dest.right = dest.left + picturePixelsX(picture_->width());
            dest.bottom = dest.top + picturePixelsY(picture_->height());
        }
        picture_->draw(dc, dest);
        RestoreDC(dc, saved);
    }

  private:
    PicturePtr load() const {
        const Picture& picture = image_.picture();
        if (picture.kept)
            return picture.kept.as<LoadedPicture>();
        // A stretched picture is made at its size once, not stretched at every paint.
        const bool stretch = image_.spec().stretch;
        if (!picture.file.empty())
            return stretch ? loadPictureFileAt(picture.file, inside())
                           : loadPictureFile(picture.file);
        if (picture.resource.type == PictureType::None)
            return nullptr;
        return stretch ? pictures().resource(picture.resource, inside())
                       : pictures().resource(picture.resource);
    }

    // The size that paint() stretches a picture to.
    SIZE inside() const {
        const RECT place = Children::placeOf(image_);
        const int border = image_.spec().border ? 2 : 0;
        return SIZE{place.right - place.left - border, place.bottom - place.top - border};
    }

    Image& image_;
    PicturePtr picture_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Image::makePeer(PeerHost& host) {
    host.add<win32::Win32Image>(*this);
}
