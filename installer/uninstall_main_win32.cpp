// uninstall: loads its hidden window, whose load handler does everything
// and ends the program.
#include <windows.h>

#include "installer/deferred_delete.h"
#include "installer/uninstaller.h"
#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bv::ui::win32::beginProgram("uninstall");
    bv::ui::win32::Win32Platform platform;
    bv::ui::App app(platform, "uninstall");
    bv::installer::Uninstaller uninstaller(app);
    uninstaller.deleteOwnFileLater = bv::installer::deleteOwnFileAfterExit;
    app.raise(uninstaller.form, [&] { uninstaller.form.load(); });
    return 0;
}
