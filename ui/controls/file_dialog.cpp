#include "ui/controls/file_dialog.h"

namespace bv::ui {

bool FileDialog::showOpen() {
    if (!peer())
        return false;
    std::optional<std::string> chosen = peer()->showOpen();
    if (!chosen)
        return false;
    fileName = std::move(*chosen);
    return true;
}

}  // namespace bv::ui
