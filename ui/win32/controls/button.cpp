// Push buttons: Click from the mouse, Enter while focused, and Alt with the
// access key of the caption (see focus.cpp).
#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/win32/controls/kinds.h"

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
        fire(EventKind::Click);
        result = 0;
        return true;
    }
};

}  // namespace

std::unique_ptr<Child> makeButton(Win32Form& form, Button& button, int index) {
    auto child = std::make_unique<Win32Button>(form, button, index);
    BackEnd::attach(button, *child);
    return child;
}

}  // namespace bv::ui::win32
