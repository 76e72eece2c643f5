#pragma once
// Twips and pixels at the screen's resolution, read once per process.
#include <cmath>

#include "ui/layout.h"

namespace bv::ui::win32 {

struct Dpi {
    int x, y;
};

// Logical pixels per inch of the screen (kBaseDpi at the usual setting).
Dpi screenDpi();

constexpr double kTwipsPerInch = 1440.0;

// Pixel coordinates are kept well inside what GDI computes with.
constexpr int kMaxPixel = 1 << 24;

inline int clampPixel(double px) {
    if (!(px > -kMaxPixel))
        return -kMaxPixel;  // also NaN
    if (px > kMaxPixel)
        return kMaxPixel;
    return static_cast<int>(std::lround(px));
}

inline int twipsToPixelsX(double twips) {
    return clampPixel(twips * screenDpi().x / kTwipsPerInch);
}
inline int twipsToPixelsY(double twips) {
    return clampPixel(twips * screenDpi().y / kTwipsPerInch);
}
inline float pixelsToTwipsX(int px) {
    return static_cast<float>(px * kTwipsPerInch / screenDpi().x);
}
inline float pixelsToTwipsY(int px) {
    return static_cast<float>(px * kTwipsPerInch / screenDpi().y);
}

// A picture's own size is its size at 96 dots per inch, where 15 twips make
// a pixel: it is scaled as the twips are, so that a picture laid at its
// control's place fills exactly the pixels the control's twips give.
inline int picturePixelsX(int pixelsAt96) {
    return twipsToPixelsX(static_cast<double>(pixelsAt96) * kTwipsPerPixelAt96);
}
inline int picturePixelsY(int pixelsAt96) {
    return twipsToPixelsY(static_cast<double>(pixelsAt96) * kTwipsPerPixelAt96);
}

// Font points to a character height in pixels at `dpi` (negative: the em
// height).
int pointsToFontHeight(float points, int dpi = screenDpi().y);

// Tells the system that the program lays itself out at the screen's real
// resolution. Call once at the start, before any window or measurement:
// Vista and later otherwise hand it 96 dots per inch and stretch its windows,
// blurred, at any larger scale. Looked up at run time: XP has no such call.
void declareDpiAware();

}  // namespace bv::ui::win32
