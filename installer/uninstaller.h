#pragma once
// Form1 of uninstall: never shown. Its load handler does the whole
// uninstall; its terminate handler deletes the uninstaller's own copy.
#include <functional>
#include <string>

#include "ui/app.h"
#include "ui/form.h"

namespace bv::installer {

extern const ui::FormSpec kUninstallLayout;

class Uninstaller {
  public:
    explicit Uninstaller(ui::App& app);

    ui::App& app;
    ui::Form form;

    // Arranges for `path`, the running program's own file that could not be
    // deleted, to be deleted once the program has ended. False when `path`
    // is not the running program's file or nothing could be arranged.
    std::function<bool(const std::string& path)> deleteOwnFileLater;

    void Form_Load();
    void Form_Terminate();
};

}  // namespace bv::installer
