// The hover preview: what the data store holds for the slot, not what its
// caption says.
#include "config/config_window.h"
#include "datastore/failure.h"
#include "datastore/paths.h"
#include "resources/resource_ids.h"

namespace bv::config {

void ConfigWindow::Text_MouseMove(int slot, const ui::MouseArgs&) {
    // Every move looks at the file, so a bitmap copied a moment ago shows;
    // only a new slot or a changed file is decoded again.
    const std::string path = paths::wallpaper(slot);
    const std::optional<fs::FileStamp> stamp = fs::fileStamp(path);
    if (shown_ && shown_->slot == slot && shown_->stamp == stamp)
        return;
    shown_.reset();
    if (!stamp) {
        Image1.setBitmap(BV_BMP_PLACEHOLDER);
    } else {
        try {
            Image1.loadPicture(path);
        } catch (const Failure&) {
            // Any name ending in "bmp" is accepted, so this is ordinary input.
            Image1.setBitmap(BV_BMP_UNREADABLE);
        }
    }
    shown_ = Shown{slot, stamp};
}

}  // namespace bv::config
