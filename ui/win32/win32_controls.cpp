// The controls of a window: making them from the layout table and showing
// every change of their models.
#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"BvFrame";
constexpr wchar_t kPictureClass[] = L"BvPictureBox";
constexpr int kFirstControlId = 100;

// Every text box shares the system's edit procedure under our subclass.
WNDPROC gEditProc = nullptr;

void checkControlPlace(float twips) {
    if (!std::isfinite(twips))
        throw Failure("Invalid property value");
    if (std::fabs(twips) > 2147483647.0f)
        throw Failure("Overflow");
}

}  // namespace

int Win32Form::indexOf(HWND window) const {
    if (!window)
        return -1;
    for (std::size_t i = 0; i < children_.size(); ++i)
        if (children_[i].hwnd == window)
            return static_cast<int>(i);
    return -1;
}

int Win32Form::indexOf(const Control& control) const {
    const auto& controls = form_.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == &control)
            return static_cast<int>(i);
    return -1;
}

HWND Win32Form::surface(int container) const {
    return container < 0 ? hwnd_ : children_[static_cast<std::size_t>(container)].hwnd;
}

RECT Win32Form::placeOf(const Control& control) const {
    checkControlPlace(control.left());
    checkControlPlace(control.top());
    RECT place{};
    place.left = twipsToPixelsX(control.left());
    place.top = twipsToPixelsY(control.top());
    place.right = place.left + twipsToPixelsX(control.width());
    place.bottom = place.top + twipsToPixelsY(control.height());
    return place;
}

void Win32Form::createChild(int index) {
    Child& child = children_[static_cast<std::size_t>(index)];
    if (child.hwnd)
        return;
    const Control& control = *child.control;
    const ControlSpec& spec = control.spec();
    child.rect = placeOf(control);
    if (control.kind() == Kind::Image)
        child.picture = loadPicture(static_cast<const Image&>(control).picture());

    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.visible() ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    std::wstring text;
    switch (control.kind()) {
        case Kind::TextBox:
            cls = L"EDIT";
            style |= WS_TABSTOP;
            style |= spec.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
            if (spec.vScroll)
                style |= WS_VSCROLL;
            if (spec.readOnly)
                style |= ES_READONLY;
            if (spec.centered)
                style |= ES_CENTER;
            exStyle = WS_EX_CLIENTEDGE;
            text = text::widen(static_cast<const TextBox&>(control).text());
            break;
        case Kind::Button:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            text = text::widen(spec.text);
            break;
        case Kind::Frame:
            cls = kFrameClass;
            style |= WS_CLIPCHILDREN;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case Kind::PictureBox:
            cls = kPictureClass;
            style |= WS_CLIPCHILDREN | WS_TABSTOP;
            exStyle = WS_EX_CLIENTEDGE;  // the default sunken border
            break;
        case Kind::Slider:
            cls = TRACKBAR_CLASSW;
            style |=
                WS_TABSTOP | TBS_HORZ | (spec.ticks ? TBS_AUTOTICKS | TBS_BOTTOM : TBS_NOTICKS);
            break;
        default:
            return;  // painted by its container, or no window at all
    }
    if (child.container >= 0)
        createChild(child.container);
    HWND parent = surface(child.container);
    HWND made = CreateWindowExW(
        exStyle, cls, text.c_str(), style, child.rect.left, child.rect.top,
        child.rect.right - child.rect.left, child.rect.bottom - child.rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstControlId + index)),
        platform_.instance(), this);
    if (!made)
        throw Failure("Out of memory");
    child.hwnd = made;
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(platform_.fonts().get(spec.font)),
                 FALSE);

    if (control.kind() == Kind::TextBox) {
        SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Form::editProc)));
        if (!gEditProc)
            gEditProc = previous;
    } else if (control.kind() == Kind::Slider) {
        const auto& slider = static_cast<const Slider&>(control);
        SendMessageW(made, TBM_SETRANGEMIN, FALSE, slider.min());
        SendMessageW(made, TBM_SETRANGEMAX, FALSE, slider.max());
        SendMessageW(made, TBM_SETLINESIZE, 0, spec.smallChange);
        SendMessageW(made, TBM_SETPAGESIZE, 0, spec.largeChange);
        if (spec.ticks)
            SendMessageW(made, TBM_SETTICFREQ, 1, 0);
        SendMessageW(made, TBM_SETPOS, TRUE, slider.value());
    }
}

// The table runs front to back, so each sibling goes right below the one
// before it.
void Win32Form::stackChildren() {
    for (int container = -1; container < static_cast<int>(children_.size()); ++container) {
        HWND above = HWND_TOP;
        for (const Child& child : children_) {
            if (child.container != container || !child.hwnd)
                continue;
            SetWindowPos(child.hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            above = child.hwnd;
        }
    }
}

void Win32Form::setTimer(int index) {
    const Child& child = children_[static_cast<std::size_t>(index)];
    if (child.control->kind() != Kind::Timer || !hwnd_)
        return;
    const auto& timer = static_cast<const Timer&>(*child.control);
    const auto id = static_cast<UINT_PTR>(index) + 1;
    // An interval of 0 must never tick, so it never reaches SetTimer.
    if (timer.running())
        SetTimer(hwnd_, id, static_cast<UINT>(timer.interval()), nullptr);
    else
        KillTimer(hwnd_, id);
}

void Win32Form::addTooltip(int index) {
    Child& child = children_[static_cast<std::size_t>(index)];
    const char* tip = child.control->spec().tooltip;
    HWND owner = surface(child.container);
    if (!tip || !*tip || !owner)
        return;
    if (!tooltip_) {
        // Always shown: the agent bar is seldom the active window.
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   platform_.instance(), nullptr);
        if (!tooltip_)
            return;
    }
    child.tip = text::widen(tip);
    // The short structure: the long one is refused by comctl32 before 6.
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.lpszText = child.tip.data();
    if (child.hwnd) {
        info.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(child.hwnd);
    } else {
        info.uFlags = TTF_SUBCLASS;
        info.uId = static_cast<UINT_PTR>(index) + 1;
        if (child.control->visible())
            info.rect = child.rect;
    }
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Form::updateTooltip(int index) {
    Child& child = children_[static_cast<std::size_t>(index)];
    if (!tooltip_ || child.tip.empty() || child.hwnd)
        return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = surface(child.container);
    info.uId = static_cast<UINT_PTR>(index) + 1;
    if (child.control->visible())
        info.rect = child.rect;
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Form::invalidate(int index) {
    const Child& child = children_[static_cast<std::size_t>(index)];
    if (child.hwnd) {
        InvalidateRect(child.hwnd, nullptr, FALSE);
    } else if (HWND owner = surface(child.container)) {
        InvalidateRect(owner, &child.rect, FALSE);
    }
}

PicturePtr Win32Form::loadPicture(const Picture& picture) {
    if (!picture.file.empty())
        return loadPictureFile(picture.file);
    if (picture.resource.type == PictureType::None)
        return nullptr;
    return platform_.pictures().resource(picture.resource);
}

void Win32Form::controlChanged(Control& control, Prop prop) {
    const int index = indexOf(control);
    if (index < 0)
        return;
    Child& child = children_[static_cast<std::size_t>(index)];
    switch (prop) {
        case Prop::Text:
            if (control.kind() == Kind::Label) {
                invalidate(index);
            } else if (control.kind() == Kind::TextBox && child.hwnd) {
                const std::wstring text = text::widen(static_cast<TextBox&>(control).text());
                settingText_ = true;
                SetWindowTextW(child.hwnd, text.c_str());
                settingText_ = false;
            }
            break;
        case Prop::Picture:
            if (control.kind() == Kind::Image) {
                // Loaded first: a picture that fails changes nothing.
                child.picture = loadPicture(static_cast<Image&>(control).picture());
                invalidate(index);
            }
            break;
        case Prop::Position: {
            const RECT place = placeOf(control);
            if (child.hwnd) {
                child.rect = place;
                MoveWindow(child.hwnd, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, TRUE);
            } else {
                invalidate(index);
                child.rect = place;
                invalidate(index);
                updateTooltip(index);
            }
            break;
        }
        case Prop::Visible:
            if (child.hwnd) {
                ShowWindow(child.hwnd, control.visible() ? SW_SHOWNA : SW_HIDE);
            } else {
                invalidate(index);
                updateTooltip(index);
            }
            break;
        case Prop::Timing:
            setTimer(index);
            break;
        case Prop::Value:
            if (control.kind() == Kind::Slider && child.hwnd)
                SendMessageW(child.hwnd, TBM_SETPOS, TRUE, static_cast<Slider&>(control).value());
            break;
        case Prop::BackColor:
            invalidate(index);
            break;
        case Prop::Enabled:
            break;
    }
}

LRESULT Win32Form::onEditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
    const int index = indexOf(edit);
    switch (msg) {
        case WM_LBUTTONDOWN: {
            const LRESULT result = CallWindowProcW(gEditProc, edit, msg, wp, lp);
            editPressed_ = index;
            return result;
        }
        case WM_LBUTTONUP: {
            const LRESULT result = CallWindowProcW(gEditProc, edit, msg, wp, lp);
            if (index >= 0 && editPressed_ == index) {
                editPressed_ = -1;
                fire(index, EventKind::Click);
            }
            return result;
        }
        case WM_MOUSEMOVE: {
            const LRESULT result = CallWindowProcW(gEditProc, edit, msg, wp, lp);
            if (index >= 0) {
                const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                fire(index, EventKind::MouseMove, mouseArgs(wp, at, RECT{}));
            }
            return result;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
            if (index >= 0)
                children_[static_cast<std::size_t>(index)].hwnd = nullptr;
            break;
        default:
            break;
    }
    return CallWindowProcW(gEditProc, edit, msg, wp, lp);
}

LRESULT CALLBACK Win32Form::editProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        try {
            return self->onEditMessage(window, msg, wp, lp);
        } catch (...) {
        }
    }
    return gEditProc ? CallWindowProcW(gEditProc, window, msg, wp, lp)
                     : DefWindowProcW(window, msg, wp, lp);
}

}  // namespace bv::ui::win32
