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
#include "ui/win32/win32_form.h"

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
        HWND edit = makeWindow(L"EDIT", style, WS_EX_CLIENTEDGE, text::widen(box_.text()));
        SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&boxProc)));
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

  private:
    // Click is a press and a release in the box; the edit control's own
    // handling (caret, selection, the focus) comes first.
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) {
        HWND edit = hwnd();
        const WNDPROC editProc = editProc_;
        switch (msg) {
            case WM_LBUTTONDOWN: {
                const LRESULT result = CallWindowProcW(editProc, edit, msg, wp, lp);
                pressed_ = true;
                return result;
            }
            case WM_LBUTTONUP: {
                const LRESULT result = CallWindowProcW(editProc, edit, msg, wp, lp);
                if (std::exchange(pressed_, false))
                    app().raise(box_, EventKind::Click);
                return result;
            }
            case WM_MOUSEMOVE: {
                const LRESULT result = CallWindowProcW(editProc, edit, msg, wp, lp);
                const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                app().raise(box_, EventKind::MouseMove, mouseArgs(wp, at, RECT{}));
                return result;
            }
            case WM_SETFOCUS: {
                const LRESULT result = CallWindowProcW(editProc, edit, msg, wp, lp);
                app().raise(box_, EventKind::GotFocus);
                return result;
            }
            case WM_KEYDOWN: {
                constexpr LPARAM kHeldBefore = 1 << 30;
                const LRESULT result = CallWindowProcW(editProc, edit, msg, wp, lp);
                if (box_.KeyDown && !(lp & kHeldBefore))
                    BackEnd::userPressed(box_, KeyArgs{static_cast<int>(wp), shiftState()});
                return result;
            }
            case WM_CHAR:
                // A read-only box would beep at the Enter or Space its
                // KeyDown has taken.
                if (box_.KeyDown && box_.readOnly() && (wp == L'\r' || wp == L' '))
                    return 0;
                return CallWindowProcW(editProc, edit, msg, wp, lp);
            case WM_NCDESTROY:
                SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc));
                SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
                forgetWindow();
                return CallWindowProcW(editProc, edit, msg, wp, lp);
            default:
                return CallWindowProcW(editProc, edit, msg, wp, lp);
        }
    }

    static LRESULT CALLBACK boxProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Win32TextBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self || self->hwnd() != window)
            return DefWindowProcW(window, msg, wp, lp);
        try {
            return self->onMessage(msg, wp, lp);
        } catch (...) {
            self->app().report(std::current_exception());
            return 0;
        }
    }

    TextBox& box_;
    WNDPROC editProc_ = nullptr;  // the system's edit procedure, under ours
    bool pressed_ = false;
    bool settingText_ = false;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::TextBox::makePeer(PeerHost& host) {
    host.add<win32::Win32TextBox>(*this);
}
