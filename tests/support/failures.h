#pragma once
// What a refusal says, for the native and the Wine tests alike.
#include <functional>
#include <string>

#include "datastore/failure.h"

namespace bv::testing {

// The message of the Failure that `action` throws; "no failure" when it
// throws none.
inline std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "no failure";
}

}  // namespace bv::testing
