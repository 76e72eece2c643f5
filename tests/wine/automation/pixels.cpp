#include "automation/pixels.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace bv::automation {

namespace {

COLORREF colorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A 32-bit top-down bitmap selected into a memory DC; freed on every path out.
class Canvas {
  public:
    Canvas(LONG width, LONG height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (dc_ == nullptr || bitmap_ == nullptr || bits_ == nullptr) {
            release();
            throw std::runtime_error("cannot create a bitmap to draw on");
        }
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() { release(); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HDC screen() const { return screen_; }

    void fill(std::uint32_t rgb) {
        HBRUSH brush = CreateSolidBrush(colorRef(rgb));
        const RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }

    Pixels pixels() const {
        GdiFlush();
        Pixels result;
        result.width = width_;
        result.height = height_;
        result.rgb.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        std::memcpy(result.rgb.data(), bits_, result.rgb.size() * sizeof(std::uint32_t));
        for (auto& pixel : result.rgb)
            pixel &= 0x00FFFFFF;
        return result;
    }

  private:
    void release() {
        if (previous_ != nullptr)
            SelectObject(dc_, previous_);
        if (bitmap_ != nullptr)
            DeleteObject(bitmap_);
        if (dc_ != nullptr)
            DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
    }

    LONG width_, height_;
    HDC screen_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace

Pixels captureScreen(RECT area) {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&area, &area, &screen))
        throw std::runtime_error("area is not on the screen");
    Canvas canvas(area.right - area.left, area.bottom - area.top);
    if (!BitBlt(canvas.dc(), 0, 0, area.right - area.left, area.bottom - area.top, canvas.screen(),
                area.left, area.top, SRCCOPY | CAPTUREBLT))
        throw std::runtime_error("cannot copy from the screen");
    return canvas.pixels();
}

Pixels renderIcon(HICON icon, std::uint32_t background) {
    ICONINFO info{};
    BITMAP mask{};
    if (!GetIconInfo(icon, &info))
        throw std::runtime_error("not an icon");
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    const LONG width = mask.bmWidth;
    // Without a colour bitmap the mask holds the AND and XOR halves one above the other.
    const LONG height = info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    Canvas canvas(width, height);
    canvas.fill(background);
    DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return canvas.pixels();
}

Pixels renderText(const std::wstring& text, HFONT font, LONG width, LONG height,
                  std::uint32_t foreground, std::uint32_t background) {
    Canvas canvas(width, height);
    canvas.fill(background);
    RECT all{0, 0, width, height};
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), colorRef(foreground));
    DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &all,
              DT_NOPREFIX | DT_EXPANDTABS | DT_TOP | DT_LEFT);
    SelectObject(canvas.dc(), old);
    return canvas.pixels();
}

Pixels inkOf(const Pixels& pixels, std::uint32_t background) {
    LONG left = pixels.width, top = pixels.height, right = -1, bottom = -1;
    for (LONG y = 0; y < pixels.height; ++y)
        for (LONG x = 0; x < pixels.width; ++x)
            if (pixels.at(x, y) != background) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    Pixels ink;
    if (right < 0)
        return ink;
    ink.width = right - left + 1;
    ink.height = bottom - top + 1;
    for (LONG y = top; y <= bottom; ++y)
        for (LONG x = left; x <= right; ++x)
            ink.rgb.push_back(pixels.at(x, y));
    return ink;
}

std::optional<POINT> find(const Pixels& whole, const Pixels& part) {
    if (part.width == 0 || part.height == 0)
        return std::nullopt;
    for (LONG y = 0; y + part.height <= whole.height; ++y)
        for (LONG x = 0; x + part.width <= whole.width; ++x) {
            bool same = true;
            for (LONG py = 0; same && py < part.height; ++py)
                same = std::equal(&part.rgb[static_cast<std::size_t>(py * part.width)],
                                  &part.rgb[static_cast<std::size_t>(py * part.width)] + part.width,
                                  &whole.rgb[static_cast<std::size_t>((y + py) * whole.width + x)]);
            if (same)
                return POINT{x, y};
        }
    return std::nullopt;
}

Pixels render(LONG width, LONG height, const std::function<void(HDC)>& draw) {
    Canvas canvas(width, height);
    const RECT all{0, 0, width, height};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(canvas.dc());
    return canvas.pixels();
}

}  // namespace bv::automation
