#include "ui/win32/win32_form.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cmath>
#include <cstdio>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/app.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"BvForm";
constexpr wchar_t kFrameClass[] = L"BvFrame";
constexpr wchar_t kPictureClass[] = L"BvPictureBox";

// Posted, so that the deactivation handler runs after the activation change
// is complete rather than in the middle of it.
constexpr UINT kDeactivated = WM_APP + 1;

constexpr DWORD kOpenFlags =
    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
constexpr int kFileNameChars = 260;

void formStyles(const FormSpec& spec, DWORD& style, DWORD& exStyle) {
    style = WS_CLIPCHILDREN;
    exStyle = 0;
    if (spec.titleBar) {
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        if (spec.minButton)
            style |= WS_MINIMIZEBOX;
        if (spec.maxButton)
            style |= WS_MAXIMIZEBOX;
    } else {
        style |= WS_POPUP;
    }
    switch (spec.border) {
        case Border::FixedSingle:
            if (!spec.titleBar)
                style |= WS_BORDER;
            break;
        case Border::FixedDialog:
            if (!spec.titleBar)
                style |= WS_BORDER;
            exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case Border::Sizable:
            style |= WS_THICKFRAME;
            break;
    }
    if (spec.taskbar)
        exStyle |= WS_EX_APPWINDOW;
}

// Window positions arrive as single-precision twips.
void checkWindowPlace(float twips) {
    if (!std::isfinite(twips) || std::fabs(twips) > 2147483647.0f)
        throw Failure("Overflow");
}

int shiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

int heldButtons(WPARAM keys) {
    int buttons = 0;
    if (keys & MK_LBUTTON)
        buttons |= 1;
    if (keys & MK_RBUTTON)
        buttons |= 2;
    if (keys & MK_MBUTTON)
        buttons |= 4;
    return buttons;
}

}  // namespace

// Button: the buttons held, as MouseMove reports them; MouseDown puts the
// one pressed in their place.
MouseArgs Win32Form::mouseArgs(WPARAM keys, POINT at, const RECT& control) {
    MouseArgs args;
    args.button = heldButtons(keys);
    args.shift = shiftState();
    args.x = pixelsToTwipsX(at.x - control.left);
    args.y = pixelsToTwipsY(at.y - control.top);
    return args;
}

void Win32Form::registerClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpfnWndProc = &Win32Form::formProc;
    cls.lpszClassName = kFormClass;
    RegisterClassExW(&cls);
    cls.lpfnWndProc = &Win32Form::containerProc;
    cls.lpszClassName = kFrameClass;
    RegisterClassExW(&cls);
    cls.lpszClassName = kPictureClass;
    RegisterClassExW(&cls);
    registered = true;
}

Win32Form::Win32Form(Win32Platform& platform, Form& form) : platform_(platform), form_(form) {
    platform_.enroll(this);
}

Win32Form::~Win32Form() {
    destroy();
    platform_.withdraw(this);
    *alive_ = false;
}

void Win32Form::create() {
    const FormSpec& spec = form_.spec();
    DWORD style = 0, exStyle = 0;
    formStyles(spec, style, exStyle);
    RECT outer{0, 0, twipsToPixelsX(spec.clientWidth), twipsToPixelsY(spec.clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;

    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (spec.placement == Placement::Manual) {
        x = twipsToPixelsX(form_.left());
        y = twipsToPixelsY(form_.top());
    } else if (spec.placement == Placement::CenterScreen) {
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - width) / 2;
        y = work.top + (work.bottom - work.top - height) / 2;
    }
    // A hidden owner keeps windows without a taskbar button off the taskbar
    // while their caption keeps the ordinary look.
    HWND owner = spec.taskbar ? nullptr : platform_.parking();
    const std::wstring caption = text::widen(spec.caption ? spec.caption : "");
    registerClasses(platform_.instance());
    CreateWindowExW(exStyle, kFormClass, caption.c_str(), style, x, y, width, height, owner,
                    nullptr, platform_.instance(), this);
    if (!hwnd_)
        throw Failure("Out of memory");

    if (HICON big = platform_.icon(spec.icon, false))
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON small = platform_.icon(spec.icon, true))
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

    const auto& controls = form_.controls();
    children_.resize(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i)
        children_[i].control = controls[i].get();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const char* container = controls[i]->spec().container;
        if (!container)
            continue;
        const Control* holder = form_.find(container);
        if (!holder || (holder->kind() != Kind::Frame && holder->kind() != Kind::PictureBox) ||
            holder == controls[i].get())
            throw std::logic_error(std::string("control ") + controls[i]->name() +
                                   " has no frame or picture box " + container);
        children_[i].container = indexOf(*holder);
    }
    for (std::size_t i = 0; i < children_.size(); ++i)
        createChild(static_cast<int>(i));
    stackChildren();
    for (std::size_t i = 0; i < children_.size(); ++i) {
        setTimer(static_cast<int>(i));
        addTooltip(static_cast<int>(i));
    }
    reportPosition();
}

HWND Win32Form::controlWindow(const Control& control) const {
    const int index = indexOf(control);
    return index < 0 ? nullptr : children_[static_cast<std::size_t>(index)].hwnd;
}

void Win32Form::moved() {
    checkWindowPlace(form_.left());
    checkWindowPlace(form_.top());
    if (!hwnd_)
        return;
    SetWindowPos(hwnd_, nullptr, twipsToPixelsX(form_.left()), twipsToPixelsY(form_.top()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moves that the program did not ask for (the system's placement, the user
// dragging the caption) become the form's position.
void Win32Form::reportPosition() {
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    if (outer.left == twipsToPixelsX(form_.left()) && outer.top == twipsToPixelsY(form_.top()))
        return;
    form_.takePosition(pixelsToTwipsX(outer.left), pixelsToTwipsY(outer.top));
}

void Win32Form::show() {
    if (!hwnd_)
        return;
    if (!shown_) {
        shown_ = true;
        focus_ = firstFocus();
        ShowWindow(hwnd_, platform_.nextShowCommand());
    } else if (!IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOW);
    }
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    if (hwnd_ && GetActiveWindow() == hwnd_ && focus_ && IsChild(hwnd_, focus_)) {
        HWND has = GetFocus();
        if (has != focus_ && !IsChild(hwnd_, has))
            SetFocus(focus_);
    }
}

void Win32Form::hide() {
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

void Win32Form::destroy() {
    if (!hwnd_)
        return;
    destroying_ = true;
    DestroyWindow(hwnd_);
}

int Win32Form::popupMenu() {
    const auto& items = form_.menu();
    if (!hwnd_ || items.empty())
        return -1;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].separator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            const std::wstring caption = text::widen(items[i].caption());
            AppendMenuW(menu, MF_STRING, i + 1, caption.c_str());
        }
    }
    POINT at{};
    GetCursorPos(&at);
    HWND owner = hwnd_;
    // The usual pair around a popup menu: the owner must be in front for the
    // menu to close on a click elsewhere, and the posted message lets it close
    // properly the next time.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                       at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen - 1;
}

void Win32Form::showOpenDialog(FileDialog& dialog) {
    std::wstring buffer(kFileNameChars, L'\0');
    const std::wstring current = text::widen(dialog.fileName);
    if (current.size() < static_cast<std::size_t>(kFileNameChars))
        buffer.replace(0, current.size(), current);
    const std::wstring title = text::widen(dialog.title);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kFileNameChars;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = kOpenFlags;
    BOOL chosen = GetOpenFileNameW(&ofn);
    DWORD error = chosen ? 0 : CommDlgExtendedError();
    if (!chosen && error == FNERR_INVALIDFILENAME && buffer[0] != L'\0') {
        // The name held from before is no valid start: open without it.
        buffer.assign(kFileNameChars, L'\0');
        ofn.lpstrFile = buffer.data();
        chosen = GetOpenFileNameW(&ofn);
        error = chosen ? 0 : CommDlgExtendedError();
    }
    if (!chosen) {
        if (error == 0)
            return;  // cancelled
        char code[16];
        std::snprintf(code, sizeof code, "%04lX", static_cast<unsigned long>(error));
        throw Failure(std::string("Common dialog error ") + code);
    }
    dialog.fileName = text::narrow(buffer.c_str());
}

bool Win32Form::deliver(const std::function<void()>& handler) {
    if (platform_.ended())
        return false;
    const std::shared_ptr<bool> alive = alive_;
    platform_.deliver(form_.app(), handler);
    return *alive && hwnd_ != nullptr;
}

bool Win32Form::fire(int index, EventKind kind, const MouseArgs& args) {
    Control& control = *children_[static_cast<std::size_t>(index)].control;
    return deliver([&control, kind, args] { control.fire(kind, args); });
}

int Win32Form::hitTest(int container, POINT at) const {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        const Child& child = children_[i];
        const Kind kind = child.control->kind();
        if (child.container != container || (kind != Kind::Label && kind != Kind::Image))
            continue;
        if (child.control->visible() && PtInRect(&child.rect, at))
            return static_cast<int>(i);
    }
    return -1;
}

void Win32Form::onMouse(HWND window, int container, UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    auto argsFor = [&](int index, int button) {
        MouseArgs args = mouseArgs(wp, at, children_[static_cast<std::size_t>(index)].rect);
        if (button)
            args.button = button;
        return args;
    };
    switch (msg) {
        case WM_MOUSEMOVE: {
            const int target =
                pressed_ >= 0 && GetCapture() == window ? pressed_ : hitTest(container, at);
            if (target >= 0)
                fire(target, EventKind::MouseMove, argsFor(target, 0));
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (container >= 0 &&
                children_[static_cast<std::size_t>(container)].control->kind() == Kind::PictureBox)
                SetFocus(window);
            const int target = hitTest(container, at);
            if (target < 0)
                return;
            const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
            if (button == 1) {
                pressed_ = target;
                SetCapture(window);
            }
            fire(target, EventKind::MouseDown, argsFor(target, button));
            return;
        }
        case WM_LBUTTONUP: {
            const int target = pressed_;
            if (target < 0)
                return;
            pressed_ = -1;
            if (GetCapture() == window)
                ReleaseCapture();
            if (hitTest(container, at) == target)
                fire(target, EventKind::Click);
            return;
        }
        default:
            return;
    }
}

bool Win32Form::onNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND from = reinterpret_cast<HWND>(lp);
    const int index = from ? indexOf(from) : -1;
    if (index < 0)
        return false;
    Control& control = *children_[static_cast<std::size_t>(index)].control;
    switch (msg) {
        case WM_COMMAND:
            if (control.kind() == Kind::Button && HIWORD(wp) == BN_CLICKED) {
                fire(index, EventKind::Click);
                result = 0;
                return true;
            }
            if (control.kind() == Kind::TextBox && HIWORD(wp) == EN_CHANGE && !settingText_) {
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(from)) + 1, L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(from, text.data(), static_cast<int>(text.size()))));
                static_cast<TextBox&>(control).takeUserText(text::narrow(text));
                result = 0;
                return true;
            }
            return false;
        case WM_HSCROLL:
            if (control.kind() == Kind::Slider) {
                const int position = static_cast<int>(SendMessageW(from, TBM_GETPOS, 0, 0));
                auto& slider = static_cast<Slider&>(control);
                deliver([&slider, position] { slider.userMoved(position); });
                result = 0;
                return true;
            }
            return false;
        case WM_CTLCOLORSTATIC:
            // Read-only text boxes keep the look of editable ones.
            if (control.kind() == Kind::TextBox) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool Win32Form::onSurfaceMessage(HWND window, int container, UINT msg, WPARAM wp, LPARAM lp,
                                 LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_PAINT:
            paintBuffered(window, container);
            return true;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(window, &client);
            paint(container, reinterpret_cast<HDC>(wp), client);
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
            onMouse(window, container, msg, wp, lp);
            return true;
        case WM_CAPTURECHANGED:
            pressed_ = -1;
            return true;
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(wp) != window || LOWORD(lp) != HTCLIENT)
                return false;
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(window, &at);
            const int target = hitTest(container, at);
            const bool hand = target >= 0 &&
                              children_[static_cast<std::size_t>(target)].control->spec().pointer ==
                                  Pointer::Hand;
            SetCursor(hand && platform_.handCursor() ? platform_.handCursor()
                                                     : LoadCursorW(nullptr, IDC_ARROW));
            result = TRUE;
            return true;
        }
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_CTLCOLORSTATIC:
            return onNotification(msg, wp, lp, result);
        default:
            return false;
    }
}

LRESULT Win32Form::onFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND window = hwnd_;
    LRESULT result = 0;
    if (onSurfaceMessage(window, -1, msg, wp, lp, result))
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
        case WM_TIMER: {
            const auto index = static_cast<std::size_t>(wp) - 1;
            if (index < children_.size() && children_[index].control->kind() == Kind::Timer &&
                static_cast<Timer&>(*children_[index].control).running())
                fire(static_cast<int>(index), EventKind::Timer);
            return 0;
        }
        case WM_MOVE:
            reportPosition();
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            tooltip_ = nullptr;
            focus_ = nullptr;
            pressed_ = -1;
            for (Child& child : children_)
                child.hwnd = nullptr;
            platform_.windowGone(*this);
            return DefWindowProcW(window, msg, wp, lp);
        default:
            break;
    }
    return DefWindowProcW(window, msg, wp, lp);
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
        // Nothing may unwind into the system; handlers' failures were
        // dealt with by deliver().
        return DefWindowProcW(window, msg, wp, lp);
    }
}

LRESULT CALLBACK Win32Form::containerProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const int container = self ? self->indexOf(window) : -1;
    if (container < 0)
        return DefWindowProcW(window, msg, wp, lp);
    try {
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->children_[static_cast<std::size_t>(container)].hwnd = nullptr;
            return DefWindowProcW(window, msg, wp, lp);
        }
        LRESULT result = 0;
        if (self->onSurfaceMessage(window, container, msg, wp, lp, result))
            return result;
    } catch (...) {
    }
    return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace bv::ui::win32
