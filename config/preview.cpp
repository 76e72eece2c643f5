// The hover preview: what the data store holds for the slot, not what its
// caption says.
#include "config/config_window.h"
#include "datastore/failure.h"
#include "datastore/paths.h"
#include "resources/resource_ids.h"

namespace bv::config {

void ConfigWindow::Text_MouseMove(int slot, const ui::MouseArgs&) {
    // Every move looks at the file, so a bitmap copied a moment ago shows;
    // only a changed file is read and decoded again.
    const std::string path = paths::wallpaper(slot);
    const std::optional<fs::FileStamp> stamp = fs::fileStamp(path);
    if (shown_ && shown_->slot == slot && shown_->stamp == stamp)
        return;
    shown_.reset();
    ui::KeptPicture kept = kept_.find(slot, stamp);
    if (!stamp) {
        Image1.setBitmap(BV_BMP_PLACEHOLDER);
    } else if (kept) {
        Image1.showKept(path, std::move(kept));
    } else {
        try {
            Image1.loadPicture(path);
            kept_.put(slot, *stamp, Image1.kept());
        } catch (const Failure&) {
            // Any name ending in "bmp" is accepted, so this is ordinary input.
            Image1.setBitmap(BV_BMP_UNREADABLE);
        }
    }
    shown_ = Shown{slot, stamp};
}

void ConfigWindow::Text_GotFocus(int slot) {
    Text_MouseMove(slot, {});
}

void ConfigWindow::forgetPreview(int slot) {
    // The copy may keep the size and the time of the file it replaced.
    if (shown_ && shown_->slot == slot)
        shown_.reset();
    kept_.forget(slot);
}

}  // namespace bv::config
