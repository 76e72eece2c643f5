#pragma once
// Polling for a condition that another thread or process brings about.
#include <chrono>
#include <functional>

namespace bv::automation {

using namespace std::chrono_literals;

// Calls `condition` every `poll` until it holds or `timeout` has passed;
// returns its last result. Window messages of the calling thread are
// dispatched meanwhile, so windows it owns stay responsive.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds poll = 25ms);

// Reads until `read` gives `expected` or `timeout` has passed, and returns
// the last reading, so that a check of it shows what was there. What a
// program draws reaches the screen some time after the change that made it.
template <typename Read, typename Value>
Value readUntil(const Read& read, const Value& expected, std::chrono::milliseconds timeout = 10s) {
    Value last{};
    waitUntil([&] { return (last = read()) == expected; }, timeout);
    return last;
}

}  // namespace bv::automation
