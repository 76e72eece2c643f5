#pragma once
// Plain bitmap files for the native and the Wine tests, written byte by byte
// so that no platform header is needed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace bv::testing {

// The 14-byte file header before a bitmap's info header.
inline std::string bitmapFileHeader(std::size_t fileSize, std::size_t pixelsAt) {
    std::string head = "BM";
    for (std::size_t value : {fileSize, std::size_t{0}, pixelsAt})
        for (int i = 0; i < 4; ++i)
            head += static_cast<char>((value >> (8 * i)) & 0xff);
    return head;
}

// An uncompressed file of `width` by |height| pixels of `bits` each (1 to
// 32), bottom-up unless `height` is negative, with a full palette up to 8 bits
// and rows padded to four bytes. Palette and pixels hold `background` bytes.
class BitmapFile {
  public:
    BitmapFile(unsigned bits, int width, int height, char background = '\0')
        : bits_(bits),
          width_(width),
          rows_(std::abs(height)),
          topDown_(height < 0),
          colours_(bits <= 8 ? 1u << bits : 0),
          pixelsAt_(54 + 4 * colours_),
          stride_((static_cast<std::size_t>(width) * bits + 31) / 32 * 4),
          bytes_(bitmapFileHeader(pixelsAt_ + stride_ * rows_, pixelsAt_) + std::string(40, '\0')) {
        put(14, 40, 4), put(18, static_cast<std::uint32_t>(width), 4);
        put(22, static_cast<std::uint32_t>(height), 4), put(26, 1, 2), put(28, bits, 2);
        put(46, colours_, 4);
        bytes_.resize(pixelsAt_ + stride_ * rows_, background);
    }

    // Palette entry `index` as 0xRRGGBB.
    BitmapFile& colour(unsigned index, std::uint32_t rgb) {
        put(54 + 4 * index, rgb, 4);
        return *this;
    }

    // The pixel at x, y from the top left: a palette index up to 8 bits,
    // 0xRRGGBB above (16 bits keep five of each).
    BitmapFile& pixel(int x, int y, std::uint32_t value) {
        const std::size_t bit = static_cast<std::size_t>(x) * bits_;
        const std::size_t at = pixelsAt_ + stride_ * (topDown_ ? y : rows_ - 1 - y) + bit / 8;
        if (bits_ < 8) {
            const unsigned shift = 8 - bits_ - bit % 8, mask = ((1u << bits_) - 1) << shift;
            const auto old = static_cast<unsigned char>(bytes_[at]);
            bytes_[at] = static_cast<char>((old & ~mask) | ((value << shift) & mask));
        } else if (bits_ == 16) {
            put(at, (value >> 19) << 10 | ((value >> 11) & 0x1f) << 5 | (value & 0xff) >> 3, 2);
        } else {
            put(at, value, bits_ / 8);
        }
        return *this;
    }

    BitmapFile& fill(std::uint32_t value) {
        for (int y = 0; y < rows_; ++y)
            for (int x = 0; x < width_; ++x)
                pixel(x, y, value);
        return *this;
    }

    const std::string& bytes() const { return bytes_; }

  private:
    void put(std::size_t at, std::uint32_t value, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            bytes_[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
    }

    unsigned bits_;
    int width_, rows_;
    bool topDown_;
    std::uint32_t colours_;
    std::size_t pixelsAt_, stride_;
    std::string bytes_;
};

}  // namespace bv::testing
