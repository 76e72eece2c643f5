#pragma once
// Platform libraries that most starts never need (the file dialog, OLE
// pictures, the common controls) are loaded at their first use rather than
// by the import table: each one costs start-up time and memory.
#include <windows.h>

#include <string>

#include "datastore/failure.h"

namespace bv::ui::win32 {

// A function of a system library, loading the library if need be. Throws
// Failure when either is missing. Callers keep the result.
template <typename Function>
Function lateFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    if (!module)
        throw Failure(std::string("File not found: ") + library);
    FARPROC found = GetProcAddress(module, name);
    if (!found)
        throw Failure(std::string("Can't find DLL entry point ") + name + " in " + library);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace bv::ui::win32
