// The desktop agent: loads the bar (its load handler does the start-up
// work), shows it, and runs until "Exit".
#include <windows.h>

#include "agent/agent_bar.h"
#include "ui/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "brenlo_kel_vo");
    bv::agent::AgentBar bar(app);
    platform.quitWith(bar.form);
    app.dispatch([&] {
        bar.form.load();
        bar.form.show();
    });
    return platform.run();
}
