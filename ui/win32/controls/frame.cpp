// Frames: the platform's group box, so that assistive technology finds the
// group with its caption. It holds controls of its own, which are its child
// windows or are drawn on it. A group box passes on none of its children's
// notifications and lets the mouse through to what lies under it: its
// window hands both to the form's handling, as a picture box's does.
#include "ui/controls/frame.h"

#include <limits>

#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/win32/children.h"
#include "ui/win32/paint.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

class Win32Frame final : public ChildWith<Control::Peer> {
  public:
    using ChildWith::ChildWith;
    ~Win32Frame() override {
        if (brush_)
            DeleteObject(brush_);
    }

    void create() override {
        HWND box = makeWindow(L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, 0,
                              text::widen(control().spec().text));
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        groupBoxProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frameProc)));
        // The caption's height, measured once: a frame keeps its font.
        if (HDC dc = GetDC(box)) {
            HGDIOBJ oldFont =
                SelectObject(dc, form().platform().fonts().get(control().spec().font));
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, oldFont);
            ReleaseDC(box, dc);
            captionHeight_ = metrics.tmHeight;
        }
    }

    COLORREF background() const override {
        const Color color = control().spec().backColor;
        return color != kNoColor ? colorOf(color) : GetSysColor(COLOR_BTNFACE);
    }

    // The group box draws its own edge and caption; not for a paint inside
    // the edge and below the caption (a picture of the frame changing),
    // where text would only cost time.
    void paintDecoration(HDC dc, const RECT& area) const override {
        const RECT inside{2, captionHeight_ + 1, rect().right - rect().left - 2,
                          rect().bottom - rect().top - 2};
        if (area.left >= inside.left && area.top >= inside.top && area.right <= inside.right &&
            area.bottom <= inside.bottom)
            return;
        CallWindowProcW(groupBoxProc_, hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                        PRF_CLIENT);
    }

    // The group box asks its parent for the caption's colours.
    bool reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_CTLCOLORSTATIC)
            return false;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, background());
        if (!brush_)
            brush_ = CreateSolidBrush(background());
        result = reinterpret_cast<LRESULT>(brush_ ? brush_ : GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }

  private:
    static LRESULT CALLBACK frameProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Win32Frame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self || self->hwnd() != window)
            return DefWindowProcW(window, msg, wp, lp);
        const WNDPROC groupBox = self->groupBoxProc_;
        switch (msg) {
            case WM_NCHITTEST:
                return HTCLIENT;
            // The button class counts double clicks, which the form's own
            // class does not: here, too, a second press is a press.
            case WM_LBUTTONDBLCLK:
                msg = WM_LBUTTONDOWN;
                break;
            case WM_RBUTTONDBLCLK:
                msg = WM_RBUTTONDOWN;
                break;
            case WM_MBUTTONDBLCLK:
                msg = WM_MBUTTONDOWN;
                break;
            case WM_NCDESTROY:
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(groupBox));
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                self->forgetWindow();
                return CallWindowProcW(groupBox, window, msg, wp, lp);
            default:
                break;
        }
        try {
            LRESULT result = 0;
            if (self->form().onMessage(window, self, msg, wp, lp, result))
                return result;
        } catch (...) {
            self->app().report(std::current_exception());
            return 0;
        }
        return CallWindowProcW(groupBox, window, msg, wp, lp);
    }

    WNDPROC groupBoxProc_ = nullptr;
    int captionHeight_ = std::numeric_limits<int>::max() / 2;  // unmeasured: always drawn
    HBRUSH brush_ = nullptr;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Frame::makePeer(PeerHost& host) {
    host.add<win32::Win32Frame>(*this);
}
