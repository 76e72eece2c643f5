#pragma once
// The configuration tool's main window layout.
#include "ui/layout.h"

namespace bv::config {

extern const ui::FormSpec kConfigWindowLayout;  // Form1

}  // namespace bv::config
