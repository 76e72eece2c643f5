// uninstall: loads its hidden window, whose load handler does everything
// and ends the program.
#include <windows.h>

#include "installer/deferred_delete.h"
#include "installer/uninstaller.h"
#include "ui/win32/internal_error.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::declareDpiAware();
    bv::ui::win32::reportInternalErrorsAs("uninstall");
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "uninstall");
    bv::installer::Uninstaller uninstaller(app);
    uninstaller.deleteOwnFileLater = bv::installer::deleteOwnFileAfterExit;
    app.raise(uninstaller.form, [&] { uninstaller.form.load(); });
    return 0;
}
