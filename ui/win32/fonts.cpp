#include "ui/win32/fonts.h"

#include "datastore/wide.h"
#include "ui/win32/metrics.h"

namespace bv::ui::win32 {

FontCache::~FontCache() {
    for (auto& entry : fonts_)
        DeleteObject(entry.second);
}

HFONT FontCache::get(const Font& font) {
    const int height = pointsToFontHeight(font.points);
    Key key{font.face ? font.face : "", height, font.bold};
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    const std::wstring face = text::widen(std::get<0>(key));
    HFONT made = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!made)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(std::move(key), made);
    return made;
}

}  // namespace bv::ui::win32
