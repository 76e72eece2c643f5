// Picture boxes: a sunken surface in their background colour (the system's
// 3-D face colour unless set) that holds controls and takes the focus.
#include "ui/controls/picture_box.h"
#include "ui/backend.h"
#include "ui/win32/children.h"
#include "ui/win32/controls/surfaces.h"
#include "ui/win32/paint.h"

namespace bv::ui::win32 {

const wchar_t kPictureBoxClass[] = L"BvPictureBox";

namespace {

class Win32PictureBox final : public ChildWith<PictureBoxPeer> {
  public:
    Win32PictureBox(Win32Form& form, PictureBox& box, int index)
        : ChildWith(form, box, index), box_(box) {}

    bool focusable() const override { return true; }
    bool focusOnClick() const override { return true; }

    void create() override {
        makeWindow(kPictureBoxClass, WS_CLIPCHILDREN | WS_TABSTOP, WS_EX_CLIENTEDGE, L"", this);
    }

    COLORREF background() const override {
        return box_.backColor() != kNoColor ? colorOf(box_.backColor())
                                            : GetSysColor(COLOR_BTNFACE);
    }
    void backColorChanged() override { invalidate(); }

  private:
    PictureBox& box_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::PictureBox::makePeer(PeerHost& host) {
    host.add<win32::Win32PictureBox>(*this);
}
