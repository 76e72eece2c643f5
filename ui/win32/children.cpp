#include "ui/win32/children.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string_view>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/win32/accessible.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

Child::Child(Win32Form& form, Control& control, int index)
    : form_(form), control_(control), index_(index) {}

COLORREF Child::background() const {
    return GetSysColor(COLOR_BTNFACE);
}

bool Child::reflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

App& Child::app() const {
    return form_.app();
}

bool Child::onMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return form_.onMessage(window, msg, wp, lp, result, this);
}

void Child::subclass() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    systemProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc<Child>)));
}

LRESULT Child::callSystem(UINT msg, WPARAM wp, LPARAM lp) const {
    return CallWindowProcW(systemProc_, hwnd_, msg, wp, lp);
}

HFONT Child::font() const {
    return fonts().get(control_.spec().font);
}

FontCache& Child::fonts() const {
    return form_.platform().fonts();
}

PictureCache& Child::pictures() const {
    return form_.platform().pictures();
}

COLORREF Child::surfaceColor() const {
    return form_.surfaceColor(container_);
}

HWND Child::formWindow() const {
    return form_.hwnd();
}

HWND Child::makeFormWindow() const {
    return form_.ensureWindow();
}

void Child::startCommonControls() const {
    form_.platform().startCommonControls();
}

HWND Child::makeWindow(const wchar_t* cls, DWORD style, DWORD exStyle, const std::wstring& text,
                       void* param) {
    style |= WS_CHILD | WS_CLIPSIBLINGS | (control_.visible() ? WS_VISIBLE : 0);
    // Nothing listens for WM_PARENTNOTIFY, which cost every window made a
    // message to each of its ancestors.
    exStyle |= WS_EX_NOPARENTNOTIFY;
    HWND made = CreateWindowExW(exStyle, cls, text.c_str(), style, rect_.left, rect_.top,
                                rect_.right - rect_.left, rect_.bottom - rect_.top,
                                form_.children().surface(container_), reinterpret_cast<HMENU>(id()),
                                form_.platform().instance(), param);
    if (!made)
        throw Failure("Out of memory");
    hwnd_ = made;
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    return made;
}

void Child::moveToPlace() {
    const RECT place = Children::placeOf(control_);
    if (hwnd_) {
        rect_ = place;
        MoveWindow(hwnd_, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   TRUE);
        return;
    }
    invalidate();
    rect_ = place;
    invalidate();
    form_.children().moveTooltip(*this);
}

void Child::announce(DWORD event) const {
    accessible::changed(*this, event);
}

void Child::announceRunning(const Timer& timer) const {
    accessible::runningChanged(form_, timer);
}

void Child::invalidate() const {
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
    else if (HWND owner = form_.children().surface(container_))
        InvalidateRect(owner, &rect_, FALSE);
}

Children::Children(Win32Form& form) : form_(form) {}

Children::~Children() = default;

RECT Children::placeOf(const Control& control) {
    RECT place{};
    place.left = twipsToPixelsX(control.left());
    place.top = twipsToPixelsY(control.top());
    place.right = place.left + twipsToPixelsX(control.width());
    place.bottom = place.top + twipsToPixelsY(control.height());
    return place;
}

void Children::makePeers() {
    const auto& controls = form_.form().controls();
    list_.reserve(controls.size());
    PeerHost host(form_, list_);
    for (const auto& control : controls)
        BackEnd::makePeer(*control, host);
    // The layout was checked: every container names a frame or picture box.
    for (auto& child : list_)
        if (const char* holder = child->control().spec().container)
            for (auto& other : list_)
                if (std::string_view(other->control().name()) == holder)
                    child->container_ = other.get();
}

void Children::create() {
    for (auto& child : list_)
        create(*child);
    stack();
    // Tooltips of windowless controls wait for the mouse to come over the
    // window: made at start, they would load the common controls with it.
    tooltipsLate_ = false;
    for (auto& child : list_) {
        child->afterCreate();
        const char* tip = child->control().spec().tooltip;
        if (tip && *tip && !child->hwnd())
            tooltipsLate_ = true;
    }
    if (!tooltipsLate_)
        addTooltips();
}

void Children::addTooltips() {
    for (auto& child : list_)
        addTooltip(*child);
}

void Children::mouseMoved(HWND window, WPARAM wp, LPARAM lp) {
    if (!tooltipsLate_)
        return;
    tooltipsLate_ = false;
    addTooltips();
    if (!tooltip_)
        return;
    // This first move starts the tooltip's delay, as it would have.
    const DWORD pos = GetMessagePos();
    MSG move{};
    move.hwnd = window;
    move.message = WM_MOUSEMOVE;
    move.wParam = wp;
    move.lParam = lp;
    move.time = static_cast<DWORD>(GetMessageTime());
    move.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void Children::create(Child& child) {
    if (child.created_)
        return;
    child.created_ = true;
    if (child.container_)
        create(*child.container_);
    child.rect_ = placeOf(child.control_);
    child.create();
}

// The table runs front to back, so each sibling goes right below the one
// before it. A new child window goes below its siblings, so windows made in
// table order are stacked so already and are not restacked; only a control
// listed before its holder has the holder made out of turn.
void Children::stack() {
    if (std::none_of(list_.begin(), list_.end(), [](const auto& child) {
            const Child* holder = child->container();
            return holder && holder->index() > child->index();
        }))
        return;
    std::vector<const Child*> surfaces{nullptr};
    for (const auto& child : list_)
        if (child->hwnd())
            surfaces.push_back(child.get());
    for (const Child* surface : surfaces) {
        HWND above = HWND_TOP;
        for (const auto& child : list_) {
            if (child->container() != surface || !child->hwnd())
                continue;
            SetWindowPos(child->hwnd(), above, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            above = child->hwnd();
        }
    }
}

Child* Children::of(HWND window) const {
    if (!window)
        return nullptr;
    for (const auto& child : list_)
        if (child->hwnd() == window)
            return child.get();
    return nullptr;
}

Child* Children::at(int index) const {
    if (index < 0 || index >= static_cast<int>(list_.size()))
        return nullptr;
    return list_[static_cast<std::size_t>(index)].get();
}

HWND Children::surface(const Child* container) const {
    return container ? container->hwnd() : form_.hwnd();
}

// Front to back: the first drawn control of the container under the point.
Child* Children::hitTest(const Child* container, POINT at) const {
    for (const auto& child : list_)
        if (child->container_ == container && child->drawnByContainer() &&
            child->control().visible() && PtInRect(&child->rect_, at))
            return child.get();
    return nullptr;
}

void Children::forgetWindows() {
    tooltip_ = nullptr;
    for (auto& child : list_)
        child->windowGone();
}

void Children::addTooltip(Child& child) {
    const char* tip = child.control().spec().tooltip;
    HWND owner = surface(child.container());
    if (!tip || !*tip || !owner)
        return;
    if (!tooltip_) {
        // Tooltips are a help, not a part of the window: without the common
        // controls the window goes on without them.
        try {
            form_.platform().startCommonControls();
        } catch (const Failure&) {
            return;
        }
        // Always shown: the agent bar is seldom the active window.
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_.hwnd(),
                                   nullptr, form_.platform().instance(), nullptr);
        if (!tooltip_)
            return;
    }
    tips_.push_back(text::widen(tip));
    // The short structure: the long one is refused by comctl32 before 6.
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.lpszText = tips_.back().data();
    if (child.hwnd()) {
        info.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(child.hwnd());
    } else {
        info.uFlags = TTF_SUBCLASS;
        info.uId = child.id();
        if (child.control().visible())
            info.rect = child.rect_;
    }
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Children::moveTooltip(const Child& child) {
    const char* tip = child.control().spec().tooltip;
    if (!tooltip_ || !tip || !*tip || child.hwnd())
        return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = surface(child.container());
    info.uId = child.id();
    if (child.control().visible())
        info.rect = child.rect_;
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace bv::ui::win32
