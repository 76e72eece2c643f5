#pragma once
// One GDI font per face, size and weight, made on first use and kept for the
// life of the program's windows.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

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
    // The same font as it is at 96 dots per inch.
    HFONT getAt96(const Font& font);

  private:
    HFONT get(const Font& font, int height);
    using Key = std::tuple<std::string, int, bool>;
    std::map<Key, HFONT> fonts_;
};

// One line of text as labels draw it. Away from 96 dots per inch each
// character advances as far as it does at 96, scaled: the larger font's own
// advances, each rounded to a whole pixel, add up past a box that the layout
// made just wide enough for the text at 96.
struct TextLine {
    std::vector<INT> advances;  // for ExtTextOut; empty at 96: the font's own
    SIZE size{};
};
// `dc` has `font` at the screen's resolution selected, and keeps it.
TextLine layOutLine(HDC dc, FontCache& fonts, const Font& font, const std::wstring& text);

}  // namespace bv::ui::win32
