// setup: loads its window (the confirmation), shows it, and runs until the
// steps end the program or the user closes the window.
#include <windows.h>

#include "installer/setup_window.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return bv::ui::win32::runMainWindow<bv::installer::SetupWindow>("setup");
}
