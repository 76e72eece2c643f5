#include "ui/win32/fitted_picture.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "datastore/win32_error.h"
#include "ui/bitmap_file.h"

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
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (!bitmap || !pixels) {
            if (bitmap)
                DeleteObject(bitmap);
            throw Failure("Out of memory");
        }
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

// Where each target column or row starts in the source, and one past the last.
std::vector<std::size_t> spans(std::size_t from, std::size_t to) {
    std::vector<std::size_t> starts(to + 1);
    for (std::size_t i = 0; i <= to; ++i)
        starts[i] = static_cast<std::size_t>(std::uint64_t{i} * from / to);
    return starts;
}

// Adds one source row, `Step` bytes a pixel in blue, green, red order, to
// the sums of the target's columns.
template <int Step>
void addRow(const unsigned char* p, const std::vector<std::size_t>& xs, std::uint32_t* sums) {
    for (std::size_t dx = 0; dx + 1 < xs.size(); ++dx, sums += 3) {
        std::uint32_t b = 0, g = 0, r = 0;
        for (std::size_t x = xs[dx]; x < xs[dx + 1]; ++x, p += Step) {
            b += p[0];
            g += p[1];
            r += p[2];
        }
        sums[0] += b;
        sums[1] += g;
        sums[2] += r;
    }
}

// A row of 1 to 16 bits a pixel as blue, green, red, as GDI reads it: 16
// bits are 5-5-5, and indexes past the palette are black.
void toBgr(const unsigned char* row, const BitmapFile& file, const unsigned char* palette,
           unsigned char* out) {
    for (std::size_t x = 0; x < file.width; ++x, out += 3) {
        if (file.bits == 16) {
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            auto expand = [](unsigned c) {
                return static_cast<unsigned char>((c << 3) | (c >> 2));
            };
            out[0] = expand(v & 31);
            out[1] = expand((v >> 5) & 31);
            out[2] = expand((v >> 10) & 31);
            continue;
        }
        const std::size_t bit = x * file.bits;
        const unsigned shift = 8 - file.bits - static_cast<unsigned>(bit % 8);
        const unsigned index = (row[bit / 8] >> shift) & ((1u << file.bits) - 1);
        for (int c = 0; c < 3; ++c)
            out[c] = index < file.colors ? palette[index * 4 + static_cast<unsigned>(c)] : 0;
    }
}

// Made small by reduce(): a plain bitmap at least as large as `size` both
// ways, whose cells' sums stay within 32 bits.
bool reducible(const BitmapFile& file, SIZE size) {
    const auto w = static_cast<std::uint64_t>(size.cx), h = static_cast<std::uint64_t>(size.cy);
    return file.verdict == BitmapFile::Verdict::Plain && file.width >= w && file.rows >= h &&
           (file.width / w + 1) * (file.rows / h + 1) <= (std::uint64_t{1} << 24);
}

// The file open for reading as the data store opens it: a writer may
// replace it meanwhile, and this handle reads on from the old one.
class Reader {
  public:
    explicit Reader(const std::string& path) : path_(path) {
        file_ = CreateFileW(text::widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            throw win32Failure(GetLastError(), path);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_, &size)) {
            const DWORD error = GetLastError();
            CloseHandle(file_);
            throw win32Failure(error, path);
        }
        size_ = static_cast<std::uint64_t>(size.QuadPart);
    }
    ~Reader() { CloseHandle(file_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    std::uint64_t size() const { return size_; }
    // Exactly `n` bytes; a file that ended sooner changed under us.
    void read(unsigned char* to, std::size_t n) {
        while (n > 0) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
            if (!ReadFile(file_, to, want, &got, nullptr))
                throw win32Failure(GetLastError(), path_);
            if (got == 0)
                throw Failure("Invalid picture");
            to += got;
            n -= got;
        }
    }
    void seek(std::uint64_t to) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(to);
        if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN))
            throw win32Failure(GetLastError(), path_);
    }

  private:
    std::string path_;
    HANDLE file_;
    std::uint64_t size_ = 0;
};

// Each target pixel is the mean of the source pixels it covers, which is
// what a halftone stretch approximates, in one pass over the rows. They are
// read a band at a time in the file's order: the whole picture is never in
// memory.
PicturePtr reduce(Reader& reader, const BitmapFile& file, SIZE size) {
    const std::size_t dw = static_cast<std::size_t>(size.cx);
    const std::size_t dh = static_cast<std::size_t>(size.cy);
    const std::vector<std::size_t> xs = spans(file.width, dw), ys = spans(file.rows, dh);
    std::vector<unsigned char> palette(std::size_t{file.colors} * 4);
    if (!palette.empty()) {
        reader.seek(14 + file.infoSize);
        reader.read(palette.data(), palette.size());
    }
    reader.seek(file.pixelsAt);
    std::vector<unsigned char> converted(file.bits < 24 ? file.width * 3 : 0);
    std::vector<std::uint32_t> sums(dw * 3);
    const std::size_t bandRows = std::max<std::size_t>(1, (std::size_t{1} << 20) / file.stride);
    std::vector<unsigned char> band(std::min(bandRows, file.rows) * file.stride);
    Dib dib(size);

    auto finish = [&](std::size_t dy) {
        unsigned char* out = dib.bits + dy * dib.stride;
        const auto rows = static_cast<std::uint32_t>(ys[dy + 1] - ys[dy]);
        for (std::size_t dx = 0; dx < dw; ++dx) {
            const std::uint32_t n = rows * static_cast<std::uint32_t>(xs[dx + 1] - xs[dx]);
            for (std::size_t c = 0; c < 3; ++c)
                out[dx * Dib::kPixel + c] =
                    static_cast<unsigned char>((sums[dx * 3 + c] + n / 2) / n);
        }
        std::fill(sums.begin(), sums.end(), 0);
    };
    std::size_t dy = file.topDown ? 0 : dh - 1;
    for (std::size_t stored = 0; stored < file.rows;) {
        const std::size_t count = std::min(bandRows, file.rows - stored);
        reader.read(band.data(), count * file.stride);
        for (std::size_t i = 0; i < count; ++i, ++stored) {
            const std::size_t sy = file.topDown ? stored : file.rows - 1 - stored;
            // Rows of one target row lie together in the file, whichever way it runs.
            while (sy < ys[dy] || sy >= ys[dy + 1]) {
                finish(dy);
                dy = file.topDown ? dy + 1 : dy - 1;
            }
            const unsigned char* row = band.data() + i * file.stride;
            if (file.bits == 32) {
                addRow<4>(row, xs, sums.data());
            } else if (file.bits == 24) {
                addRow<3>(row, xs, sums.data());
            } else {
                toBgr(row, file, palette.data(), converted.data());
                addRow<3>(converted.data(), xs, sums.data());
            }
        }
    }
    finish(dy);
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

// Drawn once at `size` by the platform, as the image's paint would draw it.
PicturePtr drawAt(const LoadedPicture& picture, SIZE size) {
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

}  // namespace

PicturePtr loadPictureFileAt(const std::string& path, SIZE size) {
    if (size.cx > 0 && size.cy > 0) {
        Reader reader(path);
        unsigned char head[kBitmapHeadBytes] = {};
        if (reader.size() >= kBitmapHeadBytes) {
            reader.read(head, kBitmapHeadBytes);
            const BitmapFile file = readBitmapFile(
                head, static_cast<std::size_t>(std::min<std::uint64_t>(reader.size(), SIZE_MAX)));
            if (reducible(file, size))
                return reduce(reader, file, size);
        }
    }
    // Anything else goes whole through the decoder, as loadPictureFile does.
    PicturePtr full = loadPictureFile(path);
    if (size.cx <= 0 || size.cy <= 0)
        return full;
    return drawAt(*full, size);
}

}  // namespace bv::ui::win32
