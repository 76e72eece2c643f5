// Text boxes: the system's edit control under a subclass that raises Click
// and MouseMove. A read-only box takes the caret and a selection but no
// typing, and keeps the look of an editable one.
#include <windows.h>

#include <windowsx.h>

#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/controls/text_box.h"
#include "ui/win32/children.h"
#include "ui/win32/mouse.h"

namespace bv::ui::win32 {

namespace {

class Win32TextBox final : public ChildWith<TextBoxPeer> {
  public:
    Win32TextBox(Win32Form& form, TextBox& box, int index)
        : ChildWith(form, box, index), box_(box) {}

    bool focusable() const override { return true; }

    void create() override {
        const ControlSpec& spec = box_.spec();
        DWORD style = WS_TABSTOP;
        style |= spec.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        if (spec.vScroll)
            style |= WS_VSCROLL;
        if (spec.readOnly)
            style |= ES_READONLY;
        if (spec.centered)
            style |= ES_CENTER;
        makeWindow(L"EDIT", style, WS_EX_CLIENTEDGE, text::widen(box_.text()));
        subclass();
    }

    void textChanged() override {
        if (!hwnd())
            return;
        const std::wstring text = text::widen(box_.text());
        settingText_ = true;
        SetWindowTextW(hwnd(), text.c_str());
        settingText_ = false;
    }

    bool reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && !settingText_) {
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
            text.resize(static_cast<std::size_t>(
                GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
            BackEnd::userEdited(box_, text::narrow(text));
            result = 0;
            return true;
        }
        if (msg == WM_CTLCOLORSTATIC) {
            // Read-only boxes keep the look of editable ones.
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            return true;
        }
        return false;
    }

    // Click is a press and a release in the box; the edit control's own
    // handling (caret, selection, the focus) comes first.
    bool onMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        // A read-only box would beep at the Enter or Space its KeyDown has taken.
        if (msg == WM_CHAR && box_.KeyDown && box_.readOnly() && (wp == L'\r' || wp == L' ')) {
            result = 0;
            return true;
        }
        result = callSystem(msg, wp, lp);
        if (msg == WM_LBUTTONDOWN) {
            pressed_ = true;
        } else if (msg == WM_LBUTTONUP) {
            if (std::exchange(pressed_, false))
                app().raise(box_, EventKind::Click);
        } else if (msg == WM_MOUSEMOVE) {
            const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            app().raise(box_, EventKind::MouseMove, mouseArgs(wp, at, RECT{}));
        } else if (msg == WM_SETFOCUS) {
            app().raise(box_, EventKind::GotFocus);
        } else if (msg == WM_KEYDOWN) {
            constexpr LPARAM kHeldBefore = 1 << 30;
            if (!(lp & kHeldBefore))
                BackEnd::userPressed(box_, KeyArgs{static_cast<int>(wp), shiftState()});
        }
        return true;
    }

  private:
    TextBox& box_;
    bool pressed_ = false;
    bool settingText_ = false;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::TextBox::makePeer(PeerHost& host) {
    host.add<win32::Win32TextBox>(*this);
}
