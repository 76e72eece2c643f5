#pragma once
// A plain bitmap file for the native tests and the bitmap fuzzer.
#include <cstddef>
#include <cstdint>
#include <string>

namespace bv::testing {

// `bits` per pixel, `height` negative for a top-down one, with a palette of
// every index where it has one; its palette and pixels are all 0x5a.
inline std::string plainBitmap(unsigned bits, int width, int height) {
    const std::uint32_t colors = bits <= 8 ? 1u << bits : 0;
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t offBits = 54 + colors * 4;
    std::string bmp(offBits + stride * rows, '\x5a');
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            bmp[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()), 4);
    put(10, offBits, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(30, 0, 4);
    put(46, colors, 4);
    return bmp;
}

}  // namespace bv::testing
