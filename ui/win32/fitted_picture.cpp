#include "ui/win32/fitted_picture.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/bitmap_file.h"
#include "ui/bitmap_reduce.h"

namespace bv::ui::win32 {

namespace {

// A 32-bit top-down DIB section, deleted unless released: as the screen
// holds pixels, so that painting it is a plain copy.
struct Dib {
    static constexpr std::size_t kPixel = 4;
    explicit Dib(SIZE size) : stride(static_cast<std::size_t>(size.cx) * kPixel) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pixels = nullptr;
        bitmap = makeSection(info, pixels);
        bits = static_cast<unsigned char*>(pixels);
    }
    ~Dib() {
        if (bitmap)
            DeleteObject(bitmap);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    PicturePtr release() {
        auto picture = std::make_shared<const LoadedPicture>(bitmap);
        bitmap = nullptr;
        return picture;
    }

    std::size_t stride;
    HBITMAP bitmap = nullptr;
    unsigned char* bits = nullptr;
};

// The plain bitmap file's pixels made small into a section of `size`.
PicturePtr reduce(fs::FileReader& reader, const BitmapFile& file, SIZE size) {
    Dib dib(size);
    const ReadAt read = [&](std::uint64_t offset, unsigned char* to, std::size_t n) {
        reader.seek(offset);
        return reader.read(to, n);
    };
    reduceBitmap(file, read, static_cast<std::size_t>(size.cx), static_cast<std::size_t>(size.cy),
                 dib.bits, dib.stride);
    return dib.release();
}

// Drawn on black and on white, a pixel shows how much of the background the
// picture leaves. Where it leaves most, the mask is 1 and the pixel black;
// elsewhere the pixel takes its own colour without the background's share.
HBITMAP splitMask(const unsigned char* onWhite, Dib& onBlack, SIZE size) {
    const std::size_t maskStride = (static_cast<std::size_t>(size.cx) + 15) / 16 * 2;
    std::vector<unsigned char> mask(maskStride * static_cast<std::size_t>(size.cy));
    for (std::size_t y = 0; y < static_cast<std::size_t>(size.cy); ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(size.cx); ++x) {
            const unsigned char* w = onWhite + y * onBlack.stride + x * Dib::kPixel;
            unsigned char* b = onBlack.bits + y * onBlack.stride + x * Dib::kPixel;
            const int left = (w[0] - b[0] + w[1] - b[1] + w[2] - b[2]) / 3;
            const int cover = 255 - std::clamp(left, 0, 255);
            if (cover * 2 < 255) {
                mask[y * maskStride + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
                b[0] = b[1] = b[2] = 0;
            } else if (cover < 255) {
                for (int c = 0; c < 3; ++c)
                    b[c] = static_cast<unsigned char>(std::min(255, b[c] * 255 / cover));
            }
        }
    }
    HBITMAP bitmap = CreateBitmap(size.cx, size.cy, 1, 1, mask.data());
    if (!bitmap)
        throw Failure("Out of memory");
    return bitmap;
}

}  // namespace

PicturePtr fitPicture(const LoadedPicture& picture, SIZE size) {
    Dib dib(size);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        throw Failure("Out of memory");
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    auto drawOn = [&](int brush) {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(brush)));
        picture.draw(dc, all);
        GdiFlush();
    };
    std::vector<unsigned char> onWhite;
    if (picture.transparent()) {
        drawOn(WHITE_BRUSH);
        onWhite.assign(dib.bits, dib.bits + dib.stride * static_cast<std::size_t>(size.cy));
    }
    drawOn(BLACK_BRUSH);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (onWhite.empty())
        return dib.release();
    HBITMAP mask = splitMask(onWhite.data(), dib, size);
    try {
        auto fitted = std::make_shared<const LoadedPicture>(dib.bitmap, mask);
        dib.bitmap = nullptr;
        return fitted;
    } catch (...) {
        DeleteObject(mask);
        throw;
    }
}

PicturePtr loadPictureFileAt(const std::string& path, SIZE size) {
    fs::FileReader reader(path);
    const bool fits = size.cx > 0 && size.cy > 0;
    unsigned char head[kBitmapHeadBytes] = {};
    if (fits && reader.size() >= kBitmapHeadBytes) {
        if (reader.read(head, kBitmapHeadBytes) != kBitmapHeadBytes)
            throw Failure("Invalid picture");
        const BitmapFile file = readBitmapFile(
            head, static_cast<std::size_t>(std::min<std::uint64_t>(reader.size(), SIZE_MAX)));
        const auto w = static_cast<std::size_t>(size.cx), h = static_cast<std::size_t>(size.cy);
        if (reducible(file, w, h))
            return reduce(reader, file, size);
    }
    // Anything else goes whole through the decoder, as loadPictureFile does.
    const std::string bytes = reader.readAll();
    PicturePtr full = decodePicture(bytes.data(), bytes.size());
    return fits ? fitPicture(*full, size) : full;
}

}  // namespace bv::ui::win32
