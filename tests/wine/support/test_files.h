#pragma once
// Files that the Wine tests and benchmarks put in place.
#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/bitmap_files.h"

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

// A small 24-bit bitmap of one colour, so each slot's file differs.
inline std::string bitmap(unsigned char r, unsigned char g, unsigned char b) {
    return BitmapFile(24, 8, 8).fill(std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b).bytes();
}

// A 24-bit bitmap of w x h pixels (h even) in four quarters: red top left,
// green top right, blue bottom left, yellow bottom right.
inline std::string quarters(int w, int h) {
    const std::uint32_t colours[2][2] = {{0xff0000, 0x00ff00}, {0x0000ff, 0xffff00}};
    BitmapFile bmp(24, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.pixel(x, y, colours[y >= h / 2][x >= w / 2]);
    return bmp.bytes();
}

}  // namespace bv::testing
