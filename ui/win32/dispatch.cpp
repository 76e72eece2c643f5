// The messages of a form and of its surfaces (windowProc in children.h
// brings them), and the events they raise: mouse events of the drawn
// controls, the reflected messages of the controls with windows, timers,
// activation and closing. Every message not named here goes to the default
// procedure.
//
// Each event goes from here to App::raise, the one guard of every handler;
// after a raise that answers false the window may be gone, and nothing of
// it is touched.
#include <windows.h>

#include <windowsx.h>

#include "ui/win32/accessible.h"
#include "ui/win32/mouse.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

// Posted, so that the deactivation handler runs after the activation change
// and the event that caused it are complete, as on every back end.
constexpr UINT kDeactivated = WM_APP + 1;

MouseArgs argsFor(const Child& child, WPARAM wp, POINT at, int button) {
    MouseArgs args = mouseArgs(wp, at, child.rect());
    if (button)
        args.button = button;
    return args;
}

}  // namespace

void Win32Form::onMouse(HWND window, Child* holder, UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_MOUSEMOVE: {
            children_.mouseMoved(window, wp, lp);
            Child* target =
                pressed_ && GetCapture() == window ? pressed_ : children_.hitTest(holder, at);
            if (target)
                app().raise(target->control(), EventKind::MouseMove, argsFor(*target, wp, at, 0));
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
            app().raise(target->control(), EventKind::MouseDown, argsFor(*target, wp, at, button));
            return;
        }
        case WM_LBUTTONUP: {
            Child* target = std::exchange(pressed_, nullptr);
            if (!target)
                return;
            if (GetCapture() == window)
                ReleaseCapture();
            if (children_.hitTest(holder, at) == target)
                app().raise(target->control(), EventKind::Click);
            return;
        }
        default:
            return;
    }
}

bool Win32Form::onMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result,
                          Child* holder) {
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
        case WM_GETOBJECT:
        case accessible::kPress:
            return accessible::onMessage(*this, holder, window, msg, wp, lp, result);
        case WM_TIMER:
            // The form's timers are the timer controls', with their ids.
            if (Child* timer = holder ? nullptr : children_.at(rowOfId(wp))) {
                timer->tick();
                return true;
            }
            return false;
        default:
            return !holder && onFormMessage(msg, wp, lp);
    }
}

// What only the form's own window gets. True when the message is used up.
bool Win32Form::onFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus))
                    focus_ = focus;
                // Only another window of this program counts as deactivation;
                // closing this one does not.
                const Win32Form* next = platform_.formOf(reinterpret_cast<HWND>(lp));
                if (next && next != this && &next->app() == &app() && life_ != Life::Closing &&
                    !form_.unloaded() && form_.Form_Deactivate)
                    PostMessageW(hwnd_, kDeactivated, 0, 0);
                return true;
            }
            if (!HIWORD(wp) && focus_ && IsChild(hwnd_, focus_) && IsWindowVisible(focus_) &&
                IsWindowEnabled(focus_)) {
                SetFocus(focus_);
                return true;
            }
            return false;
        case kDeactivated:
            if (life_ != Life::Closing)
                app().raise(form_, form_.Form_Deactivate);
            return true;
        case WM_CLOSE:
            // A window without a title bar has no close box to be closed by.
            if (form_.spec().titleBar)
                app().raise(form_, [this] { form_.unload(); });
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return onKey(msg, wp, lp);
        case WM_MOVE:
            reportPosition();
            return true;
        default:
            return false;
    }
}

// A key that reached the window itself, none of its controls having the
// focus. System keys only as F10 without Alt: Alt+F4 and the other Alt keys
// keep the system's meaning. True when the key is used up.
bool Win32Form::onKey(UINT msg, WPARAM wp, LPARAM lp) {
    constexpr LPARAM kAltHeld = 1 << 29, kHeldBefore = 1 << 30;
    if (msg == WM_SYSKEYDOWN && (wp != VK_F10 || (lp & kAltHeld)))
        return false;
    if (!form_.Form_KeyDown)
        return false;
    if (!(lp & kHeldBefore))
        BackEnd::userPressed(form_, KeyArgs{static_cast<int>(wp), shiftState()});
    return true;
}

void Win32Form::windowGone() {
    hwnd_ = nullptr;
    life_ = Life::Gone;
    focus_ = nullptr;
    pressed_ = nullptr;
    accessible::disconnect(*this);
    children_.forgetWindows();
    platform_.windowGone(*this);
}

}  // namespace bv::ui::win32
