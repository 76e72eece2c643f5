// setup: loads its window (the confirmation), shows it, and runs until the
// steps end the program or the user closes the window.
#include <windows.h>

#include "installer/setup_window.h"
#include "ui/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "setup");
    bv::installer::SetupWindow window(app);
    platform.quitWith(window.form);
    app.dispatch([&] {
        window.form.load();
        window.form.show();
    });
    return platform.run();
}
