#include "ui/bitmap_reduce.h"

#include <algorithm>
#include <vector>

#include "datastore/failure.h"

namespace bv::ui {

namespace {

constexpr std::size_t kOutPixel = 4;

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

// Exactly `n` bytes from `offset`: a file that ended sooner changed under us.
void readAll(const ReadAt& read, std::uint64_t offset, unsigned char* to, std::size_t n) {
    if (read(offset, to, n) != n)
        throw Failure("Invalid picture");
}

}  // namespace

bool reducible(const BitmapFile& file, std::size_t width, std::size_t height) {
    const std::uint64_t w = width, h = height;
    return file.verdict == BitmapFile::Verdict::Plain && w > 0 && h > 0 && file.width >= w &&
           file.rows >= h && (file.width / w + 1) * (file.rows / h + 1) <= (std::uint64_t{1} << 24);
}

void reduceBitmap(const BitmapFile& file, const ReadAt& read, std::size_t width, std::size_t height,
                  unsigned char* out, std::size_t outStride) {
    const std::vector<std::size_t> xs = spans(file.width, width), ys = spans(file.rows, height);
    std::vector<unsigned char> palette(std::size_t{file.colors} * 4);
    if (!palette.empty())
        readAll(read, 14 + file.infoSize, palette.data(), palette.size());
    std::vector<unsigned char> converted(file.bits < 24 ? file.width * 3 : 0);
    std::vector<std::uint32_t> sums(width * 3);
    const std::size_t bandRows = std::max<std::size_t>(1, (std::size_t{1} << 20) / file.stride);
    std::vector<unsigned char> band(std::min(bandRows, file.rows) * file.stride);

    auto finish = [&](std::size_t dy) {
        unsigned char* to = out + dy * outStride;
        const auto rows = static_cast<std::uint32_t>(ys[dy + 1] - ys[dy]);
        for (std::size_t dx = 0; dx < width; ++dx) {
            const std::uint32_t n = rows * static_cast<std::uint32_t>(xs[dx + 1] - xs[dx]);
            for (std::size_t c = 0; c < 3; ++c)
                to[dx * kOutPixel + c] = static_cast<unsigned char>((sums[dx * 3 + c] + n / 2) / n);
        }
        std::fill(sums.begin(), sums.end(), 0);
    };
    std::size_t dy = file.topDown ? 0 : height - 1;
    std::uint64_t at = file.pixelsAt;
    for (std::size_t stored = 0; stored < file.rows;) {
        const std::size_t count = std::min(bandRows, file.rows - stored);
        readAll(read, at, band.data(), count * file.stride);
        at += count * file.stride;
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
}

}  // namespace bv::ui
