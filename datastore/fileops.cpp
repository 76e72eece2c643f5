// File operations that both builds share, on top of each one's own.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "datastore/failure.h"
#include "datastore/fileops.h"

namespace bv::fs {

namespace {

// A 32-bit Windows process holds no string of more than 2 GB.
#ifdef _WIN32
constexpr std::uint64_t kLargestFile = INT_MAX;
#else
constexpr std::uint64_t kLargestFile = UINT64_MAX;
#endif

[[noreturn]] void tooLarge(const std::string& path) {
    throw Failure("File too large: " + path);
}

}  // namespace

std::string FileReader::readAll(std::size_t limit) {
    if (size_ > std::min<std::uint64_t>(limit, kLargestFile))
        tooLarge(path_);
    seek(0);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size_));
    char buffer[1 << 16];
    while (const std::size_t got = read(buffer, sizeof buffer)) {
        bytes.append(buffer, got);
        if (bytes.size() > limit)
            tooLarge(path_);  // it grew while being read
    }
    return bytes;
}

std::string readFile(const std::string& path, std::size_t limit) {
    return FileReader(path).readAll(limit);
}

}  // namespace bv::fs
