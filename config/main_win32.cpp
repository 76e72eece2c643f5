// The configuration tool: loads its window (the load handler reads the last
// save), shows it as the tool was started (the agent starts it minimized),
// and runs until the window is closed or "&Exit" is confirmed.
#include <windows.h>

#include "config/config_window.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return bv::ui::win32::runMainWindow<bv::config::ConfigWindow>("brenlo_kel_vo_config");
}
