// The smallest program with a window like the bar: the yardstick the
// agent's start-up time and memory are measured against.
#include <windows.h>

#include "tests/wine/bench/bare_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = quitWithWindow;
    cls.hInstance = instance;
    cls.lpszClassName = L"MinimalBar";
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&cls);
    RECT r{0, 0, 176, 24};
    AdjustWindowRectEx(&r, WS_POPUP | WS_BORDER, FALSE, WS_EX_APPWINDOW);
    HWND window =
        CreateWindowExW(WS_EX_APPWINDOW, L"MinimalBar", L"", WS_POPUP | WS_BORDER, 842, 557,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    return runMessages();
}
