#pragma once
// Drawing helpers shared by the surfaces and the kinds drawn on them.
#include <windows.h>

#include "ui/layout.h"

namespace bv::ui::win32 {

inline COLORREF colorOf(Color color) {
    return color & 0x00FFFFFF;
}

// Fills with the DC's background colour, without making a brush.
inline void fill(HDC dc, const RECT& area, COLORREF color) {
    const COLORREF old = SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

// Paints `area` of the window's DC off screen first and copies it, so that
// what changes often does not flicker; straight onto the DC when the system
// has no memory for the copy. `draw` paints in the window's coordinates.
template <class Draw>
void paintOffScreen(HDC dc, const RECT& area, Draw draw) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP pixels = buffer ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (buffer && pixels) {
        HGDIOBJ old = SelectObject(buffer, pixels);
        SetWindowOrgEx(buffer, area.left, area.top, nullptr);
        draw(buffer);
        BitBlt(dc, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
        SelectObject(buffer, old);
    } else {
        draw(dc);
    }
    if (pixels)
        DeleteObject(pixels);
    if (buffer)
        DeleteDC(buffer);
}

}  // namespace bv::ui::win32
