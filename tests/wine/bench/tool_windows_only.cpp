// A program that only makes the platform windows the configuration tool shows
// at start (its captioned window with icons, ten read-only edit boxes, three
// buttons, two bordered boxes and the platform's trackbar), with bare calls: the
// least the tool's start can take on this platform. Places are near the
// tool's; what it draws is not.
#include <windows.h>

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "tests/wine/bench/bare_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto icon = [instance](int cx, int cy) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(BV_ICON_PROGRAM),
                                             IMAGE_ICON, GetSystemMetrics(cx), GetSystemMetrics(cy),
                                             LR_SHARED));
    };
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = quitWithWindow;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hIcon = icon(SM_CXICON, SM_CYICON);
    cls.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    cls.lpszClassName = L"ToolWindow";
    RegisterClassExW(&cls);
    cls.lpfnWndProc = DefWindowProcW;
    cls.hIcon = cls.hIconSm = nullptr;
    cls.lpszClassName = L"ToolChild";
    RegisterClassExW(&cls);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r{0, 0, 661, 525};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_APPWINDOW);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, L"ToolWindow", L"Brenlo Vistrel v1.0 - Settings",
                                  style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                  nullptr, nullptr, instance, nullptr);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    auto child = [&](const wchar_t* kind, const wchar_t* text, DWORD more, DWORD exStyle, int x,
                     int y, int w, int h) {
        HWND made = CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, kind, text,
                                    more | WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_TABSTOP, x,
                                    y, w, h, window, nullptr, instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return made;
    };
    child(L"BUTTON", L"&About", BS_PUSHBUTTON, 0, 568, 376, 73, 25);
    for (int slot = 0; slot < 10; ++slot)
        child(L"EDIT", L"Selected Image # picture.bmp", ES_AUTOHSCROLL | ES_READONLY,
              WS_EX_CLIENTEDGE, 24, 144 + 32 * slot, 305, 25);
    child(L"BUTTON", L"&Exit", BS_PUSHBUTTON, 0, 488, 376, 73, 25);
    child(L"ToolChild", L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, 8, 8, 645, 100);
    child(L"ToolChild", L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, 448, 312, 33, 17);
    // The common controls are loaded as the tool loads them: at its slider.
    if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = reinterpret_cast<Init>(
            reinterpret_cast<void (*)()>(GetProcAddress(comctl, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        if (init)
            init(&controls);
    }
    HWND slider = child(TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS, 0, 376, 216, 257, 41);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 1000);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, 10000);
    SendMessageW(slider, TBM_SETPOS, TRUE, 1000);
    child(L"BUTTON", L"&Save", BS_PUSHBUTTON, 0, 408, 376, 73, 25);
    ShowWindow(window, SW_SHOW);

    return runMessages();
}
