// The uninstall: no failure handling of its own, so the first failed
// deletion reaches the error report and ends the program.
#include "installer/uninstaller.h"

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"

namespace bv::installer {

Uninstaller::Uninstaller(ui::App& application)
    : app(application), form(application, kUninstallLayout) {
    form.Form_Load = [this] { Form_Load(); };
    form.Form_Terminate = [this] { Form_Terminate(); };
}

void Uninstaller::Form_Load() {
    if (app.msgBox("Do you want Uninstall brenlo vistrel from your computer.", ui::Buttons::YesNo,
                   ui::Icon::Question, "Confirm Uninstall setup") == ui::Answer::No)
        app.end();
    fs::deleteFile(paths::configToolExe());
    fs::deleteFile(paths::agentStartupExe());
    fs::deleteFile(paths::readmeTxt());
    app.msgBox("Brenlo Kelvo was uninstalled.", ui::Buttons::Ok, ui::Icon::Information,
               "Uninstall");
    app.unloadAndEnd();
}

// Started from its Start Menu copy, the uninstaller is that file: the system
// refuses to delete it while it runs, so it goes once the program has ended.
void Uninstaller::Form_Terminate() {
    try {
        fs::deleteFile(paths::uninstallExe());
    } catch (const Failure&) {
        if (!deleteOwnFileLater || !deleteOwnFileLater(paths::uninstallExe()))
            throw;
    }
}

}  // namespace bv::installer
