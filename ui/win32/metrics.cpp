#include "ui/win32/metrics.h"

#include <windows.h>

namespace bv::ui::win32 {

Dpi screenDpi() {
    static const Dpi dpi = [] {
        Dpi d{96, 96};
        // A memory DC of the screen's kind has the screen's resolution and
        // is cheaper to get than the screen's own DC before any window exists.
        if (HDC screen = CreateCompatibleDC(nullptr)) {
            d.x = GetDeviceCaps(screen, LOGPIXELSX);
            d.y = GetDeviceCaps(screen, LOGPIXELSY);
            DeleteDC(screen);
        }
        if (d.x <= 0)
            d.x = 96;
        if (d.y <= 0)
            d.y = 96;
        return d;
    }();
    return dpi;
}

void declareDpiAware() {
    using SetAware = BOOL(WINAPI*)();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, "SetProcessDPIAware") : nullptr;
    if (found)
        reinterpret_cast<SetAware>(reinterpret_cast<void (*)()>(found))();
}

int pointsToFontHeight(float points) {
    return -static_cast<int>(std::lround(static_cast<double>(points) * screenDpi().y / 72.0));
}

}  // namespace bv::ui::win32
