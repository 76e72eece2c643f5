// Labels: drawn by their container, text cut or wrapped at the box.
#include "ui/controls/label.h"
#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/win32/children.h"
#include "ui/win32/fonts.h"
#include "ui/win32/paint.h"

namespace bv::ui::win32 {

namespace {

class Win32Label final : public ChildWith<LabelPeer> {
  public:
    Win32Label(Win32Form& form, Label& label, int index)
        : ChildWith(form, label, index), label_(label) {}

    bool drawnByContainer() const override { return true; }
    void captionChanged() override {
        invalidate();
        announce(EVENT_OBJECT_NAMECHANGE);
    }

    void paint(HDC dc) const override {
        const ControlSpec& spec = label_.spec();
        if (!spec.transparent)
            fill(dc, rect(), spec.backColor != kNoColor ? colorOf(spec.backColor) : surfaceColor());
        const std::wstring caption = text::widen(label_.caption());
        if (caption.empty())
            return;
        HGDIOBJ oldFont = SelectObject(dc, font());
        SetTextColor(dc, spec.foreColor != kNoColor ? colorOf(spec.foreColor)
                                                    : GetSysColor(COLOR_WINDOWTEXT));
        // Text breaks at the label's width only where the layout asks for it;
        // elsewhere a text wider than its box is cut at the edge.
        RECT box = rect();
        const TextLine line = spec.wrap || caption.find_first_of(L"\t\r\n") != std::wstring::npos
                                  ? TextLine{}
                                  : layOutLine(dc, fonts(), spec.font, caption);
        if (!line.advances.empty()) {
            const int left =
                spec.centered ? box.left + (box.right - box.left - line.size.cx) / 2 : box.left;
            ExtTextOutW(dc, left, box.top, ETO_CLIPPED, &box, caption.c_str(),
                        static_cast<UINT>(caption.size()), line.advances.data());
        } else {
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box,
                      DT_NOPREFIX | DT_EXPANDTABS | DT_TOP | (spec.wrap ? DT_WORDBREAK : 0) |
                          (spec.centered ? DT_CENTER : DT_LEFT));
        }
        SelectObject(dc, oldFont);
    }

  private:
    Label& label_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Label::makePeer(PeerHost& host) {
    host.add<win32::Win32Label>(*this);
}
