// Frames: a captioned group drawn by the surface under it, beneath the
// controls it holds. No window of its own: each cost the tool's start-up
// half a millisecond under Wine.
#include "ui/controls/frame.h"
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
    Win32Frame(Win32Form& form, Control& frame, int index) : ChildWith(form, frame, index) {
        windowlessContainer_ = true;
    }

    COLORREF background() const override {
        const Color color = control().spec().backColor;
        return color != kNoColor ? colorOf(color) : GetSysColor(COLOR_BTNFACE);
    }

    // An etched edge whose top line runs through the middle of the caption,
    // broken where the caption stands.
    void paintDecoration(HDC dc) const override {
        const RECT& place = rect();
        HGDIOBJ oldFont = SelectObject(dc, form().platform().fonts().get(control().spec().font));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT box = place;
        box.top += metrics.tmHeight / 2;
        DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
        const std::wstring caption = text::widen(control().spec().text);
        if (!caption.empty()) {
            RECT measure{};
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            const int top = place.top, bottom = place.top + metrics.tmHeight;
            fill(dc, RECT{place.left + 6, top, place.left + 10 + measure.right, bottom},
                 background());
            RECT at{place.left + 8, top, place.left + 8 + measure.right, bottom};
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at,
                      DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
        }
        SelectObject(dc, oldFont);
    }
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Frame::makePeer(PeerHost& host) {
    host.add<win32::Win32Frame>(*this);
}
