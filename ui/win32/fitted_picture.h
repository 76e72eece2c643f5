#pragma once
// Pictures made once at the size an image stretches them to: showing one
// again is a plain copy, and a full-size picture file is not kept.
#include <windows.h>

#include <string>

#include "ui/win32/pictures.h"

namespace bv::ui::win32 {

// The picture drawn once at `size` by the platform, as an image's paint
// would draw it there.
PicturePtr fitPicture(const LoadedPicture& picture, SIZE size);

// Reads the file anew and makes it `size` pixels large, as draw() would
// stretch it there: a plain bitmap larger than that in one pass of our own,
// anything else decoded whole and drawn once. Throws as loadPictureFile.
PicturePtr loadPictureFileAt(const std::string& path, SIZE size);

}  // namespace bv::ui::win32
