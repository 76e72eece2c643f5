// Push buttons: Click from the mouse, Enter while focused, and Alt with the
// access key of the caption (see focus.cpp).
#include "ui/controls/button.h"
#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/win32/children.h"

namespace bv::ui::win32 {

namespace {

class Win32Button final : public ChildWith<Control::Peer> {
  public:
    using ChildWith::ChildWith;

    bool focusable() const override { return true; }
    bool pushButton() const override { return true; }

    void create() override {
        makeWindow(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, text::widen(control().spec().text));
    }

    bool reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED)
            return false;
        result = 0;
        app().raise(control(), EventKind::Click);
        return true;
    }
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Button::makePeer(PeerHost& host) {
    host.add<win32::Win32Button>(*this);
}
