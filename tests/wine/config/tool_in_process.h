#pragma once
// The configuration tool's window made and shown in the test's own process,
// for what only its handlers can show step by step.
#include <windows.h>

#include "config/config_window.h"
#include "tests/wine/ui/pump.h"
#include "ui/backend.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {

struct ToolInProcess {
    ToolInProcess() {
        tool.form.load();
        tool.form.show();
        pump(200);
    }
    void pump(DWORD ms) { ui::win32::pump(platform, ms); }
    ui::win32::Win32Form& peer() const {
        return *static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(tool.form));
    }

    ui::win32::Win32Platform platform;
    ui::App app{platform, "brenlo_kel_vo_config"};
    config::ConfigWindow tool{app};
};

}  // namespace bv::testing
