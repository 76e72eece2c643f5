// A program that meets an exception nothing may let through, as a fault in a
// shipped program would: it must say so before it ends.
#include <windows.h>

#include <stdexcept>

#include "ui/win32/internal_error.h"

namespace {

volatile bool fault = true;

void cannotThrow() noexcept {
    struct Guard {
        ~Guard() noexcept(false) {
            if (fault)
                throw std::runtime_error("fault");
        }
    } guard;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::reportInternalErrorsAs("internal_error_probe");
    cannotThrow();
    return 0;
}
