#include "ui/bitmap_reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "datastore/failure.h"
#include "tests/native/support/xorshift.h"
#include "tests/support/bitmap_files.h"

namespace {

using bv::ui::BitmapFile;

// A plain bitmap of noise, palette included.
std::string noiseBitmap(unsigned bits, int width, int height, bv::testing::XorShift& random) {
    std::string bmp = bv::testing::BitmapFile(bits, width, height).bytes();
    for (std::size_t i = 54; i < bmp.size(); ++i)
        bmp[i] = static_cast<char>(random.next());
    return bmp;
}

bv::ui::ReadAt readFrom(const std::string& bytes) {
    return [&bytes](std::uint64_t at, unsigned char* to, std::size_t n) {
        const std::size_t got = at < bytes.size() ? std::min(n, bytes.size() - at) : 0;
        std::memcpy(to, bytes.data() + at, got);
        return got;
    };
}

// Pixel (x, y), counted from the top left, as blue, green, red: read the
// plain way, one pixel at a time.
std::array<unsigned, 3> pixel(const std::string& bmp, const BitmapFile& file, std::size_t x,
                              std::size_t y) {
    const std::size_t row = file.topDown ? y : file.rows - 1 - y;
    const auto* p =
        reinterpret_cast<const unsigned char*>(bmp.data()) + file.pixelsAt + row * file.stride;
    if (file.bits >= 24) {
        const unsigned char* at = p + x * file.bits / 8;
        return {at[0], at[1], at[2]};
    }
    if (file.bits == 16) {
        const unsigned v = p[2 * x] | (p[2 * x + 1] << 8);
        // Five bits widened by repeating their top ones, as GDI shows them.
        auto c = [&](unsigned shift) {
            const unsigned five = (v >> shift) & 31;
            return five << 3 | five >> 2;
        };
        return {c(0), c(5), c(10)};
    }
    const std::size_t perByte = 8 / file.bits;
    const unsigned index =
        (p[x / perByte] >> (8 - file.bits * (x % perByte + 1))) & ((1u << file.bits) - 1);
    const auto* color = reinterpret_cast<const unsigned char*>(bmp.data()) + 54 + index * 4;
    return {color[0], color[1], color[2]};
}

// Each target pixel against the rounded mean of its cell of the source,
// from x * W / w up to (x + 1) * W / w both ways.
void expectMeans(const std::string& bmp, std::size_t w, std::size_t h) {
    const BitmapFile file =
        bv::ui::readBitmapFile(reinterpret_cast<const unsigned char*>(bmp.data()), bmp.size());
    ASSERT_TRUE(bv::ui::reducible(file, w, h));
    std::vector<unsigned char> out(w * h * 4 + 4, 0xEE);
    bv::ui::reduceBitmap(file, readFrom(bmp), w, h, out.data(), w * 4);
    int wrong = 0;
    for (std::size_t ty = 0; ty < h; ++ty)
        for (std::size_t tx = 0; tx < w; ++tx) {
            unsigned sum[3] = {}, n = 0;
            for (std::size_t y = ty * file.rows / h; y < (ty + 1) * file.rows / h; ++y)
                for (std::size_t x = tx * file.width / w; x < (tx + 1) * file.width / w; ++x, ++n)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += pixel(bmp, file, x, y)[c];
            for (int c = 0; c < 3; ++c)
                wrong += out[(ty * w + tx) * 4 + c] != (sum[c] + n / 2) / n;
        }
    EXPECT_EQ(wrong, 0) << file.bits << " bits, " << file.width << " x " << file.rows
                        << (file.topDown ? " top down" : " bottom up") << " to " << w << " x " << h;
    EXPECT_EQ(out[w * h * 4], 0xEE) << "written past the target";
}

TEST(BitmapReduce, EachPixelIsTheMeanOfItsCellAtEveryDepthEitherWayUp) {
    bv::testing::XorShift random;
    for (unsigned bits : {1u, 4u, 8u, 16u, 24u, 32u})
        for (int height : {7, -7}) {
            const std::string bmp = noiseBitmap(bits, 11, height, random);
            expectMeans(bmp, 3, 2);   // a size that divides neither way
            expectMeans(bmp, 11, 7);  // the same size: every pixel as it is
        }
    // More rows than one band of reading holds.
    expectMeans(noiseBitmap(32, 600, -500, random), 7, 3);
}

TEST(BitmapReduce, AFileCutShortSinceItsHeadWasReadIsRefused) {
    bv::testing::XorShift random;
    const std::string whole = noiseBitmap(24, 8, 8, random);
    const BitmapFile file =
        bv::ui::readBitmapFile(reinterpret_cast<const unsigned char*>(whole.data()), whole.size());
    const std::string cut = whole.substr(0, whole.size() - 1);
    std::vector<unsigned char> out(2 * 2 * 4);
    EXPECT_THROW(bv::ui::reduceBitmap(file, readFrom(cut), 2, 2, out.data(), 8), bv::Failure);
    EXPECT_FALSE(bv::ui::reducible(file, 9, 2));  // larger than the picture
}

}  // namespace
