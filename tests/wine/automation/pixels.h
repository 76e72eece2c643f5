#pragma once
// What the screen shows, as pixels a test can compare or save.
#include <windows.h>

#include <cstdint>
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

}  // namespace bv::automation
