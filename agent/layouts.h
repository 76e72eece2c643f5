#pragma once
// The agent's window layouts.
#include "ui/layout.h"

namespace bv::agent {

extern const ui::FormSpec kAgentBarLayout;        // Form1, the bar on the desktop
extern const ui::FormSpec kSettingsWindowLayout;  // Form2, places the bar

}  // namespace bv::agent
