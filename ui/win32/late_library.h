#pragma once
// Platform libraries that most starts never need (the file dialog, OLE
// pictures, the common controls) are loaded at their first use rather than
// by the import table: each one costs start-up time and memory.
#include <windows.h>

#include <string>

#include "datastore/failure.h"

namespace bv::ui::win32 {

// A function of a system library, loading the library if need be; null
// when either is missing (a call that only later systems have). Callers
// keep the result.
template <typename Function>
Function lateFunctionIfThere(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return found ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

// The same for a function the program needs: throws Failure, naming what
// is missing.
template <typename Function>
Function lateFunction(const char* library, const char* name) {
    if (const Function found = lateFunctionIfThere<Function>(library, name))
        return found;
    if (!GetModuleHandleA(library))
        throw Failure(std::string("File not found: ") + library);
    throw Failure(std::string("Can't find DLL entry point ") + name + " in " + library);
}

}  // namespace bv::ui::win32
