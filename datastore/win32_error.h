#pragma once
// The one mapping from a Win32 error code to the failure a handler sees:
// its name, then the path it concerns.
#include <string>

#include "datastore/failure.h"

namespace bv {

// "File not found", "Path not found", "Permission denied", ... for the code.
const char* win32FailureName(unsigned long error);

// A Failure named after the code, for the path. With `otherwise`, the codes
// that mean a missing file or folder all become "File not found" and every
// other code becomes `otherwise` (starting a program).
Failure win32Failure(unsigned long error, const std::string& path, const char* otherwise = nullptr);

}  // namespace bv
