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
        subclass();
        // The caption's height, measured once: a frame keeps its font.
        if (HDC dc = GetDC(box)) {
            HGDIOBJ oldFont = SelectObject(dc, font());
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
        callSystem(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
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

    // The group box's messages go to the form's handling, as a picture
    // box's do.
    bool onMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
            case WM_NCHITTEST:
                result = HTCLIENT;
                return true;
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
            default:
                break;
        }
        return Child::onMessage(window, msg, wp, lp, result);
    }

  private:
    int captionHeight_ = std::numeric_limits<int>::max() / 2;  // unmeasured: always drawn
    HBRUSH brush_ = nullptr;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Frame::makePeer(PeerHost& host) {
    host.add<win32::Win32Frame>(*this);
}
