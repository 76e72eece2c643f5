#include "ui/win32/internal_error.h"

#include <windows.h>

#include <exception>

namespace bv::ui::win32 {

namespace {

const char* programName = "This program";

[[noreturn]] void onTerminate() {
    // Nothing here may throw or allocate much: the program's state is unknown.
    static bool once = false;
    if (!once) {
        once = true;
        wchar_t text[256];
        wsprintfW(text, L"%hs met an internal error and must close.", programName);
        wchar_t title[64];
        wsprintfW(title, L"%hs", programName);
        MessageBoxW(nullptr, text, title, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
    }
    // Not abort(): the runtime would add a box of its own.
    TerminateProcess(GetCurrentProcess(), 3);
    ExitProcess(3);
}

}  // namespace

void reportInternalErrorsAs(const char* program) {
    programName = program;
    std::set_terminate(onTerminate);
}

}  // namespace bv::ui::win32
