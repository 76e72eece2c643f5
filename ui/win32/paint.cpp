// Drawing the surfaces that hold drawn controls: the client area, picture
// boxes and frames. Labels and image controls are drawn back to front, under
// every control that has a window of its own.
#include "ui/win32/paint.h"

#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

COLORREF Win32Form::surfaceColor(const Child* container) const {
    return container ? container->background() : GetSysColor(COLOR_BTNFACE);
}

// Drawn off screen first: the agent's buttons change twice a second and
// must not flicker.
void Win32Form::paintBuffered(HWND window, const Child* holder) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (!dc)
        return;
    const RECT area = ps.rcPaint;
    // A frame's group box shares its parent's clipping (the class's parent
    // DC): keep to its own client area and off the controls it holds.
    RECT client{};
    GetClientRect(window, &client);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    for (HWND inner = GetWindow(window, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) {
        if (!IsWindowVisible(inner))
            continue;
        RECT place{};
        GetWindowRect(inner, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
    }
    paintOffScreen(dc, area, [&](HDC target) { paint(holder, target, area); });
    EndPaint(window, &ps);
}

// A container is the client area (null), a picture box or a frame.
void Win32Form::paint(const Child* container, HDC dc, const RECT& area) {
    fill(dc, area, surfaceColor(container));
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (container)
        container->paintDecoration(dc, area);
    const auto& all = children_.all();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const Child& child = **it;
        RECT shared{};
        if (child.container() != container || !child.control().visible() ||
            !IntersectRect(&shared, &child.rect(), &area))
            continue;
        if (child.drawnByContainer())
            child.paint(dc);
    }
    RestoreDC(dc, saved);
}

}  // namespace bv::ui::win32
