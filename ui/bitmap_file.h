#pragma once
// What a picture file says of itself when it is a plain bitmap file: an
// uncompressed BITMAPINFOHEADER bitmap of 1 to 32 bits. Both back ends judge
// files by it, so they refuse the same broken bitmaps.
#include <cstddef>
#include <cstdint>

namespace bv::ui {

struct BitmapFile {
    enum class Verdict {
        NotPlain,  // another format or header: the platform's decoder decides
        Broken,    // a plain header whose size or rows the file cannot hold
        Plain,
    };
    Verdict verdict = Verdict::NotPlain;
    // For Plain ones: where the parts lie, in bytes from the file's start.
    std::size_t infoSize = 0;
    std::uint32_t colors = 0;  // palette entries GDI uses (0 above 8 bits)
    std::size_t pixelsAt = 0, stride = 0, rows = 0;
    std::size_t width = 0;
    unsigned bits = 0;
    bool topDown = false;  // the first row in the file is the top one
};

// Pixel rows past the file's end, and more pixels than any screen shows,
// make a plain header Broken. Only the file's first kBitmapHeadBytes bytes
// are read (all of them when it is shorter); `fileSize` is the whole file's,
// so a file read a part at a time is judged from its head.
inline constexpr std::size_t kBitmapHeadBytes = 54;
BitmapFile readBitmapFile(const unsigned char* head, std::size_t fileSize);

}  // namespace bv::ui
