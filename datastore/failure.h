#pragma once
// A failed operation. Handlers either skip it (their steps go on) or let it
// reach the program's top-level error report, which names it and ends the program.
#include <stdexcept>
#include <string>

namespace bv {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace bv
