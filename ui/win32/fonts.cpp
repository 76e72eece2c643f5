#include "ui/win32/fonts.h"

#include "datastore/wide.h"
#include "ui/win32/metrics.h"

namespace bv::ui::win32 {

FontCache::~FontCache() {
    for (auto& entry : fonts_)
        DeleteObject(entry.second);
}

HFONT FontCache::get(const Font& font) {
    return get(font, pointsToFontHeight(font.points));
}

HFONT FontCache::getAt96(const Font& font) {
    return get(font, pointsToFontHeight(font.points, kBaseDpi));
}

HFONT FontCache::get(const Font& font, int height) {
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

TextLine layOutLine(HDC dc, FontCache& fonts, const Font& font, const std::wstring& text) {
    TextLine line;
    const int count = static_cast<int>(text.size());
    GetTextExtentPoint32W(dc, text.c_str(), count, &line.size);
    const int dpi = screenDpi().x;
    if (dpi == kBaseDpi || count == 0)
        return line;
    // Where each character ends at 96, in that font's whole pixels.
    std::vector<INT> ends(text.size());
    SIZE at96{};
    HGDIOBJ own = SelectObject(dc, fonts.getAt96(font));
    const BOOL measured =
        GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &at96);
    SelectObject(dc, own);
    if (!measured)
        return line;
    line.advances.resize(text.size());
    int from = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const int to = MulDiv(ends[i], dpi, kBaseDpi);
        line.advances[i] = to - from;
        from = to;
    }
    line.size.cx = from;
    return line;
}

}  // namespace bv::ui::win32
