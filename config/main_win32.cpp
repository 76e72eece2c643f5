// The configuration tool: loads its window (the load handler reads the last
// save), shows it as the tool was started (the agent starts it minimized),
// and runs until the window is closed or "&Exit" is confirmed.
#include <windows.h>

#include "config/config_window.h"
#include "ui/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "brenlo_kel_vo_config");
    bv::config::ConfigWindow window(app);
    platform.quitWith(window.form);
    app.dispatch([&] {
        window.form.load();
        window.form.show();
    });
    return platform.run();
}
