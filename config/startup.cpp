// Start-up: the data store's folders, then the window filled from the last
// save. Past the placeholder picture every step runs whatever became of the
// steps before it: a step that fails is dropped without a word.
#include <algorithm>

#include "config/config_window.h"
#include "datastore/fileops.h"
#include "datastore/numbers.h"
#include "datastore/paths.h"
#include "resources/resource_ids.h"

namespace bv::config {

using ui::step;

void ConfigWindow::Form_Load() {
    Image1.setBitmap(BV_BMP_PLACEHOLDER);

    step([] { fs::makeDirectory(paths::dataDir()); });
    step([] { fs::makeDirectory(paths::wallpapersDir()); });
    step([] { fs::makeDirectory(paths::scriptDir()); });

    if (!fs::fileExists(paths::okNote())) {
        for (int n = 1; n <= 10; ++n)
            step([&] { slotBox(n).setText(kNoPicture); });
        return;
    }

    for (int n = 1; n <= 10; ++n)
        step([&] { slotNote(n).loadFile(paths::captionNote(n)); });
    for (int n = 1; n <= 10; ++n)
        step([&] { slotBox(n).setText(slotNote(n).text()); });
    step([&] { sp.loadFile(paths::speedNote()); });
    step([&] { Label1.setCaption("Speed : " + sp.text()); });
    // An unreadable note reads as 0 and a hand-edited one may say anything:
    // the slider holds what it can show.
    step([&] {
        const double speed =
            std::clamp(num::leadingNumber(sp.text()), static_cast<double>(Slider1.min()),
                       static_cast<double>(Slider1.max()));
        Slider1.setValue(num::roundHalfEven(speed));
    });
    step([&] { Timer1.setInterval(Slider1.value()); });
}

}  // namespace bv::config
