#include "ui/win32/metrics.h"

#include <windows.h>

#include "ui/win32/late_library.h"

namespace bv::ui::win32 {

Dpi screenDpi() {
    static const Dpi dpi = [] {
        Dpi d{kBaseDpi, kBaseDpi};
        // A memory DC of the screen's kind has the screen's resolution and
        // is cheaper to get than the screen's own DC before any window exists.
        if (HDC screen = CreateCompatibleDC(nullptr)) {
            d.x = GetDeviceCaps(screen, LOGPIXELSX);
            d.y = GetDeviceCaps(screen, LOGPIXELSY);
            DeleteDC(screen);
        }
        if (d.x <= 0)
            d.x = kBaseDpi;
        if (d.y <= 0)
            d.y = kBaseDpi;
        return d;
    }();
    return dpi;
}

void declareDpiAware() {
    using SetAware = BOOL(WINAPI*)();
    if (const auto setAware = lateFunctionIfThere<SetAware>("user32.dll", "SetProcessDPIAware"))
        setAware();
}

int pointsToFontHeight(float points, int dpi) {
    constexpr double kPointsPerInch = 72.0;
    return -static_cast<int>(std::lround(static_cast<double>(points) * dpi / kPointsPerInch));
}

}  // namespace bv::ui::win32
