#pragma once
// One GDI font per face, size and weight, made on first use and kept for the
// life of the program's windows.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/layout.h"

namespace bv::ui::win32 {

class FontCache {
  public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Never null: a face the system lacks is matched by the font mapper.
    HFONT get(const Font& font);

  private:
    using Key = std::tuple<std::string, int, bool>;
    std::map<Key, HFONT> fonts_;
};

}  // namespace bv::ui::win32
