#pragma once
// Twips and pixels at the screen's resolution, read once per process.
#include <cmath>

namespace bv::ui::win32 {

struct Dpi {
    int x, y;
};

// Logical pixels per inch of the screen (96 by 96 at the usual setting).
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

// Font points to a character height in pixels (negative: the em height).
int pointsToFontHeight(float points);

}  // namespace bv::ui::win32
