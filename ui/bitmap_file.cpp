#include "ui/bitmap_file.h"

namespace bv::ui {

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

BitmapFile readBitmapFile(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kFileHeader = 14, kInfoHeader = 40;
    static_assert(kFileHeader + kInfoHeader == kBitmapHeadBytes);
    constexpr std::int64_t kMaxPixels = 1 << 26;
    constexpr std::uint32_t kUncompressed = 0;
    BitmapFile file;
    if (size < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M')
        return file;
    const std::uint32_t offBits = le32(data + 10);
    const unsigned char* info = data + kFileHeader;
    const std::uint32_t infoSize = le32(info);
    const std::int64_t width = static_cast<std::int32_t>(le32(info + 4));
    const std::int64_t height = static_cast<std::int32_t>(le32(info + 8));
    const unsigned bits = le16(info + 14);
    std::uint32_t colors = le32(info + 32);
    if (infoSize < kInfoHeader || infoSize > size - kFileHeader || le16(info + 12) != 1 ||
        le32(info + 16) != kUncompressed ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return file;
    // A plain header from here on.
    file.verdict = BitmapFile::Verdict::Broken;
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return file;
    const std::int64_t rows = height < 0 ? -height : height;
    if (width * rows > kMaxPixels)
        return file;
    // Colours in the file's table; only up to 8 bits per pixel use them.
    if (bits <= 8 && colors == 0)
        colors = 1u << bits;
    if (colors > (bits <= 8 ? 1u << bits : 256u)) {
        file.verdict = BitmapFile::Verdict::NotPlain;
        return file;
    }
    const std::uint64_t paletteEnd = kFileHeader + infoSize + std::uint64_t{colors} * 4;
    if (paletteEnd > size || offBits < paletteEnd || offBits > size) {
        file.verdict = BitmapFile::Verdict::NotPlain;
        return file;
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (stride * static_cast<std::uint64_t>(rows) > size - offBits)
        return file;
    file.verdict = BitmapFile::Verdict::Plain;
    file.infoSize = infoSize;
    file.colors = bits <= 8 ? colors : 0;
    file.pixelsAt = offBits;
    file.stride = static_cast<std::size_t>(stride);
    file.rows = static_cast<std::size_t>(rows);
    file.width = static_cast<std::size_t>(width);
    file.bits = bits;
    file.topDown = height < 0;
    return file;
}

}  // namespace bv::ui
