#pragma once
// What the yardstick programs share: a window procedure that ends the
// program with its window, and the message loop.
#include <windows.h>

inline LRESULT CALLBACK quitWithWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

inline int runMessages() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
