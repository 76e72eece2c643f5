// Where a window stands: its styles, its first place (by hand, centred, or
// the system's), the program's moves and the moves that the system or the
// user make.
#include "datastore/failure.h"
#include "ui/backend.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

void Win32Form::styles(DWORD& style, DWORD& exStyle) const {
    const FormSpec& spec = form_.spec();
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

POINT Win32Form::firstPlace(int width, int height) const {
    const FormSpec& spec = form_.spec();
    if (spec.placement == Placement::Manual)
        return {twipsToPixelsX(form_.left()), twipsToPixelsY(form_.top())};
    if (spec.placement == Placement::CenterScreen) {
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return {work.left + (work.right - work.left - width) / 2,
                work.top + (work.bottom - work.top - height) / 2};
    }
    return {CW_USEDEFAULT, CW_USEDEFAULT};
}

void Win32Form::moved() {
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
    BackEnd::takePosition(form_, pixelsToTwipsX(outer.left), pixelsToTwipsY(outer.top));
}

}  // namespace bv::ui::win32
