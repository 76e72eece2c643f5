// Drawing the surfaces that hold drawn controls: the client area, frames
// and picture boxes. Labels and image controls are drawn back to front,
// under every control that has a window of its own.
#include "ui/win32/paint.h"

#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

COLORREF Win32Form::surfaceColor(const Child* container) const {
    return container ? container->background() : GetSysColor(COLOR_BTNFACE);
}

// Drawn off screen first: the agent's buttons change twice a second and
// must not flicker.
void Win32Form::paintBuffered(HWND window, const Child* container) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (!dc)
        return;
    const RECT area = ps.rcPaint;
    paintOffScreen(dc, area, [&](HDC target) { paint(container, target, area); });
    EndPaint(window, &ps);
}

void Win32Form::paint(const Child* container, HDC dc, const RECT& area) {
    fill(dc, area, surfaceColor(container));
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (container)
        container->paintDecoration(dc);
    const auto& all = children_.all();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const Child& child = **it;
        if (child.container() != container || !child.drawnByContainer() ||
            !child.control().visible())
            continue;
        RECT shared{};
        if (IntersectRect(&shared, &child.rect(), &area))
            child.paint(dc);
    }
    RestoreDC(dc, saved);
}

}  // namespace bv::ui::win32
