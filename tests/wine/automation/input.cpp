#include "automation/input.h"

#include "automation/window_search.h"

namespace bv::automation {

namespace {

LPARAM pointParam(POINT at) {
    return MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
}

}  // namespace

void click(HWND control) {
    if (_wcsicmp(windowClass(control).c_str(), L"Button") == 0) {
        PostMessageW(control, BM_CLICK, 0, 0);
        return;
    }
    RECT client{};
    GetClientRect(control, &client);
    leftClickAt(control, POINT{(client.right - client.left) / 2, (client.bottom - client.top) / 2});
}

void leftClickAt(HWND window, POINT at) {
    PostMessageW(window, WM_MOUSEMOVE, 0, pointParam(at));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(at));
    PostMessageW(window, WM_LBUTTONUP, 0, pointParam(at));
}

void rightClickAt(HWND window, POINT at) {
    PostMessageW(window, WM_MOUSEMOVE, 0, pointParam(at));
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, pointParam(at));
    PostMessageW(window, WM_RBUTTONUP, 0, pointParam(at));
}

void moveMouseTo(HWND window, POINT at) {
    PostMessageW(window, WM_MOUSEMOVE, 0, pointParam(at));
}

}  // namespace bv::automation
