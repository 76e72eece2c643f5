// The setup sequence. Every step skips what fails and goes on; only the
// missing-files test speaks.
#include "installer/setup_window.h"

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"

namespace bv::installer {

using ui::step;

namespace {

// Package sources, relative to the current directory.
const std::string kConfigSource = "Data\\brenlo_kel_vo_config.exe";
const std::string kAgentSource = "Data\\brenlo_kel_vo.exe";
const std::string kUninstallSource = "Data\\uninstall.exe";
const std::string kReadmeSource = "Data\\readme.zip";
const char* const kLibraries[] = {"comdlg32.ocx", "RICHTX32.OCX", "MSCOMCTL.OCX"};

}  // namespace

SetupWindow::SetupWindow(ui::App& application)
    : app(application),
      form(application, kSetupLayout),
      Label1(form.label("Label1")),
      Timer1(form.timer("Timer1")) {
    form.Form_Load = [this] { Form_Load(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void SetupWindow::Form_Load() {
    if (app.msgBox("Do you want install brenlo vistrel for your computer", ui::Buttons::YesNo,
                   ui::Icon::Question, "Confirm setup") == ui::Answer::No)
        app.end();
    Timer1.setEnabled(true);
}

void SetupWindow::Timer1_Timer() {
    switch (++stepCount) {
        case 1:
            step([&] { Label1.setCaption("Loading setup..."); });
            if (!fs::fileExists(kConfigSource) || !fs::fileExists(kAgentSource)) {
                step([&] { Timer1.setEnabled(false); });
                step([&] {
                    app.msgBox("Cannot find installation file(s)", ui::Buttons::Ok, ui::Icon::Stop,
                               "Error");
                });
                app.end();
            }
            break;
        case 2:
            step([&] { Label1.setCaption("Creating start Menu item..."); });
            step([&] { fs::makeDirectory(paths::startMenuFolder()); });
            break;
        case 3:
            step([&] { Label1.setCaption("Copying new items..."); });
            place(kConfigSource, paths::configToolExe());
            place(kAgentSource, paths::agentStartupExe());
            place(kUninstallSource, paths::uninstallExe());
            // A library is replaced only where the system has one already.
            for (const char* library : kLibraries)
                if (fs::fileExists(paths::systemLibrary(library)))
                    step([&] {
                        fs::copyFile(std::string("Data\\") + library,
                                     paths::systemLibrary(library));
                    });
            break;
        case 4:
            step([&] { Label1.setCaption("Regitering product..."); });
            place(kReadmeSource, paths::readmeTxt());
            break;
        case 5:
            step([&] { Label1.setCaption("Completed."); });
            step([&] { Timer1.setEnabled(false); });
            step([&] { closingMessage(); });
            app.end();
        default:
            break;
    }
}

void SetupWindow::place(const std::string& from, const std::string& to) {
    try {
        fs::copyFile(from, to);
    } catch (const Failure& failure) {
        notPlaced.push_back(to + "\r\n    " + failure.what());
    }
}

void SetupWindow::closingMessage() {
    if (notPlaced.empty()) {
        app.msgBox("Thank You for selecting Brenlo kelvotop.", ui::Buttons::Ok,
                   ui::Icon::Information, "Completed");
        return;
    }
    std::string prompt = "Setup has ended, but these files were not placed:\r\n";
    for (const std::string& file : notPlaced)
        prompt += "\r\n" + file;
    app.msgBox(prompt, ui::Buttons::Ok, ui::Icon::Exclamation, "Completed");
}

}  // namespace bv::installer
