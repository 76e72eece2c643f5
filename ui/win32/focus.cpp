// Keyboard focus of a window: Tab follows the tab indices across frames and
// picture boxes (the dialog manager would follow the window order of each
// container instead), Enter presses the focused button, Alt with an access
// key presses the button whose caption marks it.
#include <algorithm>

#include "datastore/wide.h"
#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

namespace {

wchar_t upper(wchar_t c) {
    return static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

// The character after the first single '&', or 0.
wchar_t accessKeyOf(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return caption[i + 1];
        ++i;
    }
    return 0;
}

}  // namespace

// Visible and enabled focusable controls in tab-index order. Visibility is
// read from the styles up to the window, so that it holds before the window
// itself is shown.
std::vector<Child*> Win32Form::tabOrder() const {
    std::vector<Child*> order;
    for (const auto& child : children_.all()) {
        if (!child->hwnd() || !child->focusable() || !IsWindowEnabled(child->hwnd()))
            continue;
        bool shown = true;
        for (HWND w = child->hwnd(); w && w != hwnd_; w = GetParent(w))
            shown = shown && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE);
        if (shown)
            order.push_back(child.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Child* a, const Child* b) {
        return a->control().spec().tabIndex < b->control().spec().tabIndex;
    });
    return order;
}

HWND Win32Form::firstFocus() const {
    const std::vector<Child*> order = tabOrder();
    return order.empty() ? nullptr : order.front()->hwnd();
}

void Win32Form::moveFocus(bool backwards) {
    const std::vector<Child*> order = tabOrder();
    if (order.empty())
        return;
    const int count = static_cast<int>(order.size());
    HWND focus = GetFocus();
    int at = -1;
    for (int k = 0; k < count && at < 0; ++k) {
        HWND candidate = order[static_cast<std::size_t>(k)]->hwnd();
        if (candidate == focus || IsChild(candidate, focus))
            at = k;
    }
    int next = 0;
    if (at < 0)
        next = backwards ? count - 1 : 0;
    else
        next = (at + (backwards ? count - 1 : 1)) % count;
    SetFocus(order[static_cast<std::size_t>(next)]->hwnd());
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool Win32Form::accessKey(wchar_t key) {
    const wchar_t wanted = upper(key);
    for (Child* child : tabOrder()) {
        if (!child->pushButton())
            continue;
        const wchar_t mark = accessKeyOf(text::widen(child->control().spec().text));
        if (!mark || upper(mark) != wanted)
            continue;
        HWND button = child->hwnd();
        SetFocus(button);
        // The handler may close this window: nothing of it is touched after.
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

bool Win32Form::handleKey(const MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
            if (msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
                moveFocus(GetKeyState(VK_SHIFT) < 0);
                return true;
            }
            if (msg.wParam == VK_RETURN) {
                const Child* target = children_.of(msg.hwnd);
                if (target && target->pushButton()) {
                    SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
                    return true;
                }
            }
            return false;
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_MENU)
                SendMessageW(hwnd_, WM_CHANGEUISTATE,
                             MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
            return false;
        case WM_SYSCHAR:
            return accessKey(static_cast<wchar_t>(msg.wParam));
        default:
            return false;
    }
}

}  // namespace bv::ui::win32
