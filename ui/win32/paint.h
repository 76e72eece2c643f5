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

}  // namespace bv::ui::win32
