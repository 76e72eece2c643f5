// The desktop agent: loads the bar (its load handler does the start-up
// work), shows it, and runs until "Exit".
#include <windows.h>

#include "agent/agent_bar.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return bv::ui::win32::runMainWindow<bv::agent::AgentBar>("brenlo_kel_vo");
}
