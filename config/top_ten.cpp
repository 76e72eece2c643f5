// Picking a slot's bitmap and saving the top ten.
#include <string>

#include "config/config_window.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/numbers.h"
#include "datastore/paths.h"

namespace bv::config {

namespace {

// Only the last three characters count, case and all: "x.abmp" and a file
// named "bmp" pass, "x.BMP" does not.
bool endsInBmp(const std::string& name) {
    return name.size() >= 3 ? name.compare(name.size() - 3, 3, "bmp") == 0 : name == "bmp";
}

constexpr const char* kMarkerNotice = "Brenlo Vistrel top ten saved.";

}  // namespace

void ConfigWindow::Text_Click(int slot) {
    c.title = "Add wallpaper to top 10";
    // A cancel leaves the name of an earlier pick in the shared dialog;
    // taking it would copy another slot's file into this one.
    if (!c.showOpen())
        return;
    const std::string chosen = c.fileName;
    const std::string name = fs::bareName(chosen);
    if (!endsInBmp(name)) {
        app.msgBox("Invalid wallpaper, select only '*.bmp' files.", ui::Buttons::Ok,
                   ui::Icon::Question, "Error");
        return;
    }
    // Copied first: a copy that fails leaves the old bitmap whole and the
    // caption as it was, and the unsaved choices of the other slots live on.
    if (!app.reportAndGoOn([&] { fs::copyFile(chosen, paths::wallpaper(slot)); },
                           "Top 10 # " + std::to_string(slot) + " keeps its picture: \"" + chosen +
                               "\" could not be copied.",
                           "Error", ui::Icon::Stop))
        return;
    forgetPreview(slot);
    slotBox(slot).setText("Selected Image # " + name);
}

void ConfigWindow::Text_KeyDown(int slot, const ui::KeyArgs& key) {
    if ((key.keyCode == ui::Key::Enter || key.keyCode == ui::Key::Space) && key.shift == 0)
        Text_Click(slot);
}

void ConfigWindow::Command1_Click() {
    for (int n = 1; n <= 10; ++n) {
        if (slotBox(n).text() == kNoPicture) {
            app.msgBox("Please select 10 Wallpapers as your Top 10.", ui::Buttons::Ok,
                       ui::Icon::Information, "Error");
            return;
        }
    }
    for (int n = 1; n <= 10; ++n)
        slotNote(n).setText(slotBox(n).text());
    ok.setText(kMarkerNotice);
    sp.setText(num::decimal(Slider1.value()));
    // Slot notes, then the marker, then the speed: a save that stops early
    // never leaves a marker before its ten captions. Each note is replaced
    // whole or not at all, and the window keeps every choice for another try.
    app.reportAndGoOn(
        [&] {
            for (int n = 1; n <= 10; ++n)
                slotNote(n).saveFile(paths::captionNote(n));
            ok.saveFile(paths::okNote());
            sp.saveFile(paths::speedNote());
        },
        "The top ten could not be saved.", "Error", ui::Icon::Stop);
}

}  // namespace bv::config
