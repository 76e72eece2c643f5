// Drawing the surfaces that hold windowless controls: the client area,
// frames and picture boxes. Labels and image controls are drawn back to
// front, under every control that has a window of its own.
#include "datastore/wide.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {

constexpr COLORREF kColorMask = 0x00FFFFFF;

void fill(HDC dc, const RECT& area, COLORREF color) {
    // The DC's background colour fills without making a brush.
    const COLORREF old = SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

}  // namespace

COLORREF Win32Form::background(int container) const {
    if (container >= 0) {
        const Control& holder = *children_[static_cast<std::size_t>(container)].control;
        Color color = holder.spec().backColor;
        if (holder.kind() == Kind::PictureBox)
            color = static_cast<const PictureBox&>(holder).backColor();
        if (color != kNoColor)
            return color & kColorMask;
    }
    return GetSysColor(COLOR_BTNFACE);
}

void Win32Form::paintBuffered(HWND window, int container) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (!dc)
        return;
    const RECT area = ps.rcPaint;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        // Drawn off screen first: the agent's buttons change twice a second
        // and must not flicker.
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP pixels = buffer ? CreateCompatibleBitmap(dc, width, height) : nullptr;
        if (buffer && pixels) {
            HGDIOBJ old = SelectObject(buffer, pixels);
            SetWindowOrgEx(buffer, area.left, area.top, nullptr);
            paint(container, buffer, area);
            BitBlt(dc, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
            SelectObject(buffer, old);
        } else {
            paint(container, dc, area);
        }
        if (pixels)
            DeleteObject(pixels);
        if (buffer)
            DeleteDC(buffer);
    }
    EndPaint(window, &ps);
}

void Win32Form::paint(int container, HDC dc, const RECT& area) {
    fill(dc, area, background(container));
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (container >= 0) {
        const Child& holder = children_[static_cast<std::size_t>(container)];
        if (holder.control->kind() == Kind::Frame)
            paintFrame(holder, dc);
    }
    for (std::size_t i = children_.size(); i-- > 0;) {
        const Child& child = children_[i];
        if (child.container != container || child.hwnd || !child.control->visible())
            continue;
        RECT shared{};
        if (!IntersectRect(&shared, &child.rect, &area))
            continue;
        if (child.control->kind() == Kind::Label)
            paintLabel(child, container, dc);
        else if (child.control->kind() == Kind::Image)
            paintImage(child, dc);
    }
    RestoreDC(dc, saved);
}

// The group box look: an etched edge whose top line runs through the middle
// of the caption, broken where the caption stands.
void Win32Form::paintFrame(const Child& frame, HDC dc) {
    RECT client{};
    GetClientRect(frame.hwnd, &client);
    HGDIOBJ oldFont = SelectObject(dc, platform_.fonts().get(frame.control->spec().font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT box = client;
    box.top += metrics.tmHeight / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = text::widen(frame.control->spec().text);
    if (!caption.empty()) {
        RECT measure{};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const RECT gap{6, 0, 6 + measure.right + 4, metrics.tmHeight};
        fill(dc, gap, background(indexOf(frame.hwnd)));
        RECT at{8, 0, 8 + measure.right, metrics.tmHeight};
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at,
                  DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    }
    SelectObject(dc, oldFont);
}

void Win32Form::paintLabel(const Child& label, int container, HDC dc) {
    const ControlSpec& spec = label.control->spec();
    if (!spec.transparent)
        fill(dc, label.rect,
             spec.backColor != kNoColor ? (spec.backColor & kColorMask) : background(container));
    const std::wstring caption = text::widen(static_cast<const Label&>(*label.control).caption());
    if (caption.empty())
        return;
    HGDIOBJ oldFont = SelectObject(dc, platform_.fonts().get(spec.font));
    SetTextColor(dc, spec.foreColor != kNoColor ? (spec.foreColor & kColorMask)
                                                : GetSysColor(COLOR_WINDOWTEXT));
    // Text breaks at the label's width only where the layout asks for it;
    // elsewhere a text wider than its box is cut at the edge.
    RECT box = label.rect;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box,
              DT_NOPREFIX | DT_EXPANDTABS | DT_TOP | (spec.wrap ? DT_WORDBREAK : 0) |
                  (spec.centered ? DT_CENTER : DT_LEFT));
    SelectObject(dc, oldFont);
}

void Win32Form::paintImage(const Child& image, HDC dc) {
    const ControlSpec& spec = image.control->spec();
    RECT inner = image.rect;
    if (spec.border) {
        FrameRect(dc, &image.rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&inner, -1, -1);
    }
    if (!image.picture)
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    RECT dest = inner;
    if (!spec.stretch) {
        dest.right = dest.left + image.picture->width();
        dest.bottom = dest.top + image.picture->height();
    }
    image.picture->draw(dc, dest);
    RestoreDC(dc, saved);
}

}  // namespace bv::ui::win32
