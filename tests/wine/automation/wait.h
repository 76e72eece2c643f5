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

}  // namespace bv::automation
