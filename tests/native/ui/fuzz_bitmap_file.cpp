// Feeds arbitrary bytes to the bitmap file reader, which judges every file a
// user picks, and checks what the picture loaders rely on: a plain verdict
// places the header, the palette and every pixel row inside the file, with
// the row size and count that GDI computes from the same header. A plain
// file then goes through the preview's reduction.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ui/bitmap_file.h"
#include "ui/bitmap_reduce.h"

namespace {

[[noreturn]] void die(const char* what, const std::uint8_t* data, std::size_t size) {
    std::fprintf(stderr, "bitmap_file_fuzz: %s; input of %zu bytes:", what, size);
    for (std::size_t i = 0; i < size && i < 128; ++i)
        std::fprintf(stderr, " %02x", data[i]);
    std::fputc('\n', stderr);
    std::abort();
}

std::int64_t le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using bv::ui::BitmapFile;
    const BitmapFile file = bv::ui::readBitmapFile(data, size);
    if (file.verdict != BitmapFile::Verdict::Plain)
        return 0;
    constexpr std::size_t kFileHeader = 14, kInfoHeader = 40;
    if (size < kFileHeader + kInfoHeader || file.infoSize < kInfoHeader)
        die("a plain verdict without a whole header", data, size);
    const std::int64_t width = le32(data + 18), height = le32(data + 22);
    const unsigned bits = static_cast<unsigned>(data[28] | (data[29] << 8));
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (width <= 0 || file.rows != static_cast<std::uint64_t>(height < 0 ? -height : height) ||
        file.stride != stride || file.rows == 0)
        die("rows or row size differ from what the header gives GDI", data, size);
    if (file.colors > 256 || (bits > 8 && file.colors != 0))
        die("more palette entries than the loader's header holds", data, size);
    const std::uint64_t paletteEnd = kFileHeader + file.infoSize + std::uint64_t{file.colors} * 4;
    if (paletteEnd > file.pixelsAt || file.pixelsAt + std::uint64_t{file.stride} * file.rows > size)
        die("palette or pixels outside the file", data, size);

    // What the Win32 loader copies, read the same way: AddressSanitizer sees
    // any byte past the input.
    std::vector<std::uint8_t> header(kInfoHeader + std::size_t{file.colors} * 4);
    std::memcpy(header.data(), data + kFileHeader, kInfoHeader);
    std::memcpy(header.data() + kInfoHeader, data + kFileHeader + file.infoSize,
                std::size_t{file.colors} * 4);
    std::vector<std::uint8_t> pixels(file.stride * file.rows);
    std::memcpy(pixels.data(), data + file.pixelsAt, pixels.size());

    // The preview's reduction to a size the input picks, from the bytes as
    // they are: a plain file holds every pixel it reads.
    const std::size_t w = 1 + data[size - 1] % file.width, h = 1 + data[size - 2] % file.rows;
    if (!bv::ui::reducible(file, w, h))
        return 0;
    const bv::ui::ReadAt read = [&](std::uint64_t at, unsigned char* to, std::size_t n) {
        const std::size_t got = at < size ? std::min<std::size_t>(n, size - at) : 0;
        std::memcpy(to, data + at, got);
        return got;
    };
    std::vector<unsigned char> out(w * h * 4);
    try {
        bv::ui::reduceBitmap(file, read, w, h, out.data(), w * 4);
    } catch (const std::exception&) {
        die("the reduction refused a plain file", data, size);
    }
    return 0;
}

#ifndef BV_LIBFUZZER
#include "tests/native/support/xorshift.h"
#include "tests/support/bitmap_files.h"

namespace {

using bv::testing::BitmapFile;
using bv::testing::XorShift;

// Header fields worth hitting: sizes, dimensions, depth, compression,
// palette count and the pixel offset.
constexpr std::size_t kFields[] = {2, 10, 14, 18, 22, 26, 28, 30, 46};

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> seeds;
    for (unsigned bits : {1u, 4u, 8u, 16u, 24u, 32u})
        for (int height : {3, -3})
            seeds.push_back(BitmapFile(bits, 5, height, '\x5a').bytes());
    XorShift random;
    long done = 0;
    for (; done < count; ++done) {
        std::string input = seeds[random.below(seeds.size())];
        for (std::size_t step = 1 + random.below(4); step > 0; --step) {
            switch (random.below(4)) {
                case 0: {  // a header field set to an edge value
                    const std::size_t at = kFields[random.below(std::size(kFields))];
                    const std::uint32_t edges[] = {
                        0,          1,          0x7fffffff,
                        0x80000000, 0xffffffff, static_cast<std::uint32_t>(random.next())};
                    const std::uint32_t v = edges[random.below(std::size(edges))];
                    for (int i = 0; i < 4 && at + static_cast<std::size_t>(i) < input.size(); ++i)
                        input[at + static_cast<std::size_t>(i)] =
                            static_cast<char>((v >> (8 * i)) & 0xff);
                    break;
                }
                case 1:
                    input.resize(random.below(input.size() + 1));
                    break;
                case 2:
                    if (!input.empty())
                        input[random.below(input.size())] = static_cast<char>(random.next());
                    break;
                default:
                    input.append(random.below(64), '\0');
                    break;
            }
        }
        // An exact-size copy, so that a read past the end is a read past the buffer.
        std::vector<std::uint8_t> exact(input.begin(), input.end());
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20))
            break;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bitmap_file_fuzz: %ld inputs in %.2f s, no fault\n", done, seconds);
    return 0;
}
#endif
