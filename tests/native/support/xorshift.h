#pragma once
// A fixed-seed generator for the fuzzers' bounded runs, so that every run
// tries the same inputs.
#include <cstddef>
#include <cstdint>

namespace bv::testing {

struct XorShift {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }
};

}  // namespace bv::testing
