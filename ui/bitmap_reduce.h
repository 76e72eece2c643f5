#pragma once
// Plain bitmap files made smaller in one pass over their rows, read a band
// at a time in the file's order: the whole picture is never in memory. Each
// target pixel is the mean of the source pixels it covers, which is what a
// halftone stretch approximates.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "ui/bitmap_file.h"

namespace bv::ui {

// Up to `n` bytes of the file from `offset` on, fewer only at its end.
using ReadAt = std::function<std::size_t(std::uint64_t offset, unsigned char* to, std::size_t n)>;

// A plain bitmap at least as large as `width` x `height`, whose cells' sums
// stay within 32 bits.
bool reducible(const BitmapFile& file, std::size_t width, std::size_t height);

// The reducible `file` at `width` x `height`, as a 32-bit section holds it:
// rows top down, `outStride` bytes apart, blue, green and red in the first
// three bytes of each four. Throws Failure("Invalid picture") when the file
// ends before its pixels do (it changed since its head was read).
void reduceBitmap(const BitmapFile& file, const ReadAt& read, std::size_t width, std::size_t height,
                  unsigned char* out, std::size_t outStride);

}  // namespace bv::ui
