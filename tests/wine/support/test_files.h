#pragma once
// Files that the Wine tests and benchmarks put in place.
#include <cstddef>
#include <filesystem>
#include <string>

namespace bv::testing {

// A Unix path of the build as Wine sees it (drive Z: is the Unix root).
inline std::wstring fromUnix(const char* unixPath) {
    std::wstring out = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        out += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return out;
}

inline std::filesystem::path hostPath(const std::string& windowsPath) {
    return std::filesystem::path(std::wstring(windowsPath.begin(), windowsPath.end()));
}

// A 24-bit bitmap of w x h black pixels; w a multiple of 4, so that rows
// need no padding.
inline std::string blackBitmap(int w, int h) {
    const int row = w * 3, size = 54 + row * h;
    std::string bmp(static_cast<std::size_t>(size), '\0');
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; ++i)
            bmp[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, size), put32(10, 54), put32(14, 40), put32(18, w), put32(22, h);
    bmp[26] = 1, bmp[28] = 24;
    return bmp;
}

// A small 24-bit bitmap of one colour, so each slot's file differs.
inline std::string bitmap(unsigned char r, unsigned char g, unsigned char b) {
    std::string bmp = blackBitmap(8, 8);
    for (std::size_t i = 54; i + 2 < bmp.size(); i += 3) {
        bmp[i] = static_cast<char>(b);  // pixels are stored blue, green, red
        bmp[i + 1] = static_cast<char>(g);
        bmp[i + 2] = static_cast<char>(r);
    }
    return bmp;
}

// A 24-bit bitmap of w x h pixels (w a multiple of 4) in four quarters:
// red top left, green top right, blue bottom left, yellow bottom right.
inline std::string quarters(int w, int h) {
    std::string bmp = blackBitmap(w, h);
    for (int y = 0; y < h; ++y)  // rows are stored bottom up
        for (int x = 0; x < w; ++x) {
            const bool top = y >= h / 2, left = x < w / 2;
            const unsigned char r = (top && left) || (!top && !left) ? 255 : 0;
            const unsigned char g = (top && !left) || (!top && !left) ? 255 : 0;
            const unsigned char b = !top && left ? 255 : 0;
            const std::size_t at = 54 + static_cast<std::size_t>((y * w + x) * 3);
            bmp[at] = static_cast<char>(b);
            bmp[at + 1] = static_cast<char>(g);
            bmp[at + 2] = static_cast<char>(r);
        }
    return bmp;
}

}  // namespace bv::testing
