#pragma once
// What the screen shows, as pixels a test can compare or save.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bv::automation {

struct Pixels {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> rgb;  // 0x00RRGGBB, rows top to bottom

    std::uint32_t at(LONG x, LONG y) const { return rgb[static_cast<std::size_t>(y * width + x)]; }
};

// The screen area (screen coordinates), clipped to the screen. Throws
// std::runtime_error if nothing of it is on the screen.
Pixels captureScreen(RECT area);

// `icon` drawn at its own size over a plain `background` (0x00RRGGBB).
Pixels renderIcon(HICON icon, std::uint32_t background);

// `text` drawn in `font` as a window draws a left-aligned single-line label
// (DrawText from the top-left corner) on a `width` by `height` area of
// `background`, in `foreground` (both 0x00RRGGBB).
Pixels renderText(const std::wstring& text, HFONT font, LONG width, LONG height,
                  std::uint32_t foreground, std::uint32_t background);

// 0x00RRGGBB of a COLORREF.
inline std::uint32_t toRgb(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// The part of `pixels` that differs from `background`, cut to its bounding
// box: a rendered text's ink.
Pixels inkOf(const Pixels& pixels, std::uint32_t background);
// Where `part` lies in `whole`, pixel for pixel: its top-left corner.
std::optional<POINT> find(const Pixels& whole, const Pixels& part);

// What `draw` paints on a white 32-bit bitmap of that size.
Pixels render(LONG width, LONG height, const std::function<void(HDC)>& draw);

}  // namespace bv::automation
