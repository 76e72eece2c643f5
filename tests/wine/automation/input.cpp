#include "automation/input.h"

#include <cstdlib>

#include "automation/window_search.h"

namespace bv::automation {

namespace {

LPARAM pointParam(POINT at) {
    return MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
}

void send(INPUT input) {
    SendInput(1, &input, sizeof input);
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

void pointerTo(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute moves run from 0 to 65535 across the screen; round up so the
    // platform's scaling lands on the pixel itself.
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Under load, Wine can still be handling the X server's report of an
    // earlier place, which puts the pointer back there: a press sent then
    // lands on the old place. So the move is repeated until the pointer
    // stays where it was sent.
    auto there = [&] {
        POINT now{};
        return GetCursorPos(&now) && std::abs(now.x - screen.x) <= 1 &&
               std::abs(now.y - screen.y) <= 1;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        send(input);
        Sleep(30);
        if (there()) {
            Sleep(20);
            if (there())
                return;
        }
    }
}

void pointerClick(POINT screen) {
    pointerTo(screen);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    send(input);
    Sleep(30);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send(input);
    Sleep(30);
}

void typeText(const std::wstring& text) {
    for (wchar_t ch : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = ch;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        send(input);
        input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        send(input);
    }
    Sleep(50);
}

void pressKey(WORD virtualKey) {
    pressKeys({virtualKey});
}

void pressKeys(std::initializer_list<WORD> virtualKeys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    for (WORD key : virtualKeys) {
        input.ki.wVk = key;
        send(input);
    }
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    for (auto key = virtualKeys.end(); key != virtualKeys.begin();) {
        input.ki.wVk = *--key;
        send(input);
    }
    Sleep(50);
}

POINT centreOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT at{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &at);
    return at;
}

}  // namespace bv::automation
