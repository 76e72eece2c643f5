// The window procedures of a form and of its containers, and the events
// they raise: mouse events of the drawn controls, the reflected messages of
// the controls with windows, timers, activation and closing. Every message
// not named here goes to the default procedure.
#include <windows.h>

#include <windowsx.h>

#include "ui/win32/mouse.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

// Posted, so that the deactivation handler runs after the activation change
// and the event that caused it are complete, as on every back end.
constexpr UINT kDeactivated = WM_APP + 1;

}  // namespace

void Win32Form::onMouse(HWND window, Child* holder, UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    auto argsFor = [&](const Child& child, int button) {
        MouseArgs args = mouseArgs(wp, at, child.rect());
        if (button)
            args.button = button;
        return args;
    };
    switch (msg) {
        case WM_MOUSEMOVE: {
            children_.mouseMoved(window, wp, lp);
            Child* target =
                pressed_ && GetCapture() == window ? pressed_ : children_.hitTest(holder, at);
            if (target)
                target->fire(EventKind::MouseMove, argsFor(*target, 0));
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (holder && holder->focusOnClick())
                SetFocus(window);
            Child* target = children_.hitTest(holder, at);
            if (!target)
                return;
            const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
            if (button == 1) {
                pressed_ = target;
                SetCapture(window);
            }
            target->fire(EventKind::MouseDown, argsFor(*target, button));
            return;
        }
        case WM_LBUTTONUP: {
            Child* target = std::exchange(pressed_, nullptr);
            if (!target)
                return;
            if (GetCapture() == window)
                ReleaseCapture();
            if (children_.hitTest(holder, at) == target)
                target->fire(EventKind::Click);
            return;
        }
        default:
            return;
    }
}

// Messages that the client area and picture boxes share; false when
// the window's default handling applies.
bool Win32Form::onSurfaceMessage(HWND window, Child* holder, UINT msg, WPARAM wp, LPARAM lp,
                                 LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_PAINT:
            paintBuffered(window, holder);
            return true;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(window, &client);
            paint(holder, reinterpret_cast<HDC>(wp), client);
            return true;
        }
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
            onMouse(window, holder, msg, wp, lp);
            return true;
        case WM_CAPTURECHANGED:
            pressed_ = nullptr;
            return true;
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(wp) != window || LOWORD(lp) != HTCLIENT)
                return false;
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(window, &at);
            const Child* target = children_.hitTest(holder, at);
            const bool hand = target && target->control().spec().pointer == Pointer::Hand;
            SetCursor(hand && platform_.handCursor() ? platform_.handCursor()
                                                     : LoadCursorW(nullptr, IDC_ARROW));
            result = TRUE;
            return true;
        }
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_CTLCOLORSTATIC: {
            // Reflected to the control that sent it.
            Child* from = children_.of(reinterpret_cast<HWND>(lp));
            return from && from->reflect(msg, wp, lp, result);
        }
        default:
            return false;
    }
}

LRESULT Win32Form::onFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND window = hwnd_;
    LRESULT result = 0;
    if (onSurfaceMessage(window, nullptr, msg, wp, lp, result))
        return result;
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window, focus))
                    focus_ = focus;
                // Only another window of this program counts as deactivation;
                // closing this one does not.
                Win32Form* next = platform_.formOf(reinterpret_cast<HWND>(lp));
                if (next && next != this && &next->form().app() == &form_.app() && !destroying_ &&
                    !form_.unloaded() && form_.Form_Deactivate)
                    PostMessageW(window, kDeactivated, 0, 0);
                return 0;
            }
            if (!HIWORD(wp) && focus_ && IsChild(window, focus_) && IsWindowVisible(focus_) &&
                IsWindowEnabled(focus_)) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case kDeactivated:
            if (!destroying_ && !form_.unloaded() && form_.Form_Deactivate) {
                Form& form = form_;
                deliver([&form] {
                    if (form.Form_Deactivate)
                        form.Form_Deactivate();
                });
            }
            return 0;
        case WM_CLOSE: {
            // A window without a title bar has no close box to be closed by.
            if (!form_.spec().titleBar)
                return 0;
            Form& form = form_;
            deliver([&form] { form.unload(); });
            return 0;
        }
        case WM_TIMER:
            if (Child* timer = children_.at(static_cast<int>(wp) - 1))
                timer->tick();
            return 0;
        case WM_MOVE:
            reportPosition();
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            windowGone();
            return DefWindowProcW(window, msg, wp, lp);
        default:
            break;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

void Win32Form::windowGone() {
    hwnd_ = nullptr;
    gone_ = true;
    focus_ = nullptr;
    pressed_ = nullptr;
    children_.forgetWindows();
    platform_.windowGone(*this);
}

LRESULT CALLBACK Win32Form::formProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    }
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->hwnd_ != window)
        return DefWindowProcW(window, msg, wp, lp);
    try {
        return self->onFormMessage(msg, wp, lp);
    } catch (...) {
        // Handlers' failures were reported by deliver(); this is a fault of
        // the window layer itself, which must not unwind into the system.
        self->reportEscaped(std::current_exception());
        return 0;
    }
}

bool Child::onWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return form_.onSurfaceMessage(hwnd_, this, msg, wp, lp, result);
}

// Windows of the back end's own classes (picture boxes, sliders):
// their Child comes with WM_NCCREATE.
LRESULT CALLBACK Win32Form::childProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* child = static_cast<Child*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(child));
    }
    auto* child = reinterpret_cast<Child*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!child || child->hwnd() != window)
        return DefWindowProcW(window, msg, wp, lp);
    try {
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            child->forgetWindow();
            return DefWindowProcW(window, msg, wp, lp);
        }
        LRESULT result = 0;
        if (child->onWindowMessage(msg, wp, lp, result))
            return result;
    } catch (...) {
        child->form().reportEscaped(std::current_exception());
        return 0;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace bv::ui::win32
