// Sliders: the platform's trackbar, so that assistive technology and
// automation find a slider with its role, value and range, and it looks and
// behaves as on every other program of the system. The common controls are
// loaded when the first slider's window is made. The user's moves arrive as
// WM_HSCROLL at the parent and raise Scroll; a value set by a handler only
// moves the thumb.
#include <windows.h>

#include <commctrl.h>

#include "ui/backend.h"
#include "ui/controls/slider.h"
#include "ui/win32/children.h"

namespace bv::ui::win32 {

namespace {

class Win32Slider final : public ChildWith<SliderPeer> {
  public:
    Win32Slider(Win32Form& form, Slider& slider, int index)
        : ChildWith(form, slider, index), slider_(slider) {}

    bool focusable() const override { return true; }

    void create() override {
        const ControlSpec& spec = slider_.spec();
        // Without the common controls the class is unknown: that is the
        // failure to tell, not the window that cannot be made.
        startCommonControls();
        HWND bar = makeWindow(
            TRACKBAR_CLASSW,
            WS_TABSTOP | TBS_HORZ | (spec.ticks ? TBS_AUTOTICKS | TBS_BOTTOM : TBS_NOTICKS), 0,
            L"");
        SendMessageW(bar, TBM_SETRANGEMIN, FALSE, slider_.min());
        SendMessageW(bar, TBM_SETRANGEMAX, FALSE, slider_.max());
        SendMessageW(bar, TBM_SETLINESIZE, 0, spec.smallChange);
        SendMessageW(bar, TBM_SETPAGESIZE, 0, spec.largeChange);
        if (spec.ticks)
            SendMessageW(bar, TBM_SETTICFREQ, 1, 0);
        SendMessageW(bar, TBM_SETPOS, TRUE, slider_.value());
    }

    void valueChanged() override {
        if (hwnd())
            SendMessageW(hwnd(), TBM_SETPOS, TRUE, slider_.value());
    }

    bool reflect(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != WM_HSCROLL)
            return false;
        const int position = static_cast<int>(SendMessageW(hwnd(), TBM_GETPOS, 0, 0));
        result = 0;
        BackEnd::userMoved(slider_, position);
        return true;
    }

  private:
    Slider& slider_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Slider::makePeer(PeerHost& host) {
    host.add<win32::Win32Slider>(*this);
}
