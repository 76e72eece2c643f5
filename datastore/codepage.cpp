#include "datastore/codepage.h"

#include <algorithm>
#include <array>

#include "datastore/text.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#include <vector>
#endif

namespace bv::text {

namespace {

struct CharsetCodePage {
    std::int64_t charset;
    unsigned codePage;
};

// Sorted by charset.
constexpr std::array<CharsetCodePage, 19> kCharsets = {{{0, kWesternCodePage},
                                                        {1, kAnsiCodePage},
                                                        {2, kSymbolCodePage},
                                                        {77, kMacCodePage},
                                                        {128, 932},
                                                        {129, 949},
                                                        {130, 1361},
                                                        {134, 936},
                                                        {136, 950},
                                                        {161, 1253},
                                                        {162, 1254},
                                                        {163, 1258},
                                                        {177, 1255},
                                                        {178, 1256},
                                                        {186, 1257},
                                                        {204, 1251},
                                                        {222, 874},
                                                        {238, 1250},
                                                        {255, kOemCodePage}}};
static_assert(std::ranges::is_sorted(kCharsets, {}, &CharsetCodePage::charset));

void appendCp1252(std::string& out, std::string_view bytes) {
    for (char c : bytes)
        appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(c)));
}

void appendSymbol(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte < 0x20 ? char32_t{byte} : 0xF000 + char32_t{byte});
    }
}

#ifdef _WIN32
bool appendFromSystem(std::string& out, std::string_view bytes, unsigned codePage) {
    // The system's own choices are valid by definition; IsValidCodePage
    // does not know them.
    const bool systemChoice =
        codePage == kAnsiCodePage || codePage == kOemCodePage || codePage == kMacCodePage;
    if (bytes.size() > INT_MAX / 2 || (!systemChoice && !IsValidCodePage(codePage)))
        return false;
    const int size = static_cast<int>(bytes.size());
    int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0)
        return false;
    std::vector<wchar_t> wide(static_cast<std::size_t>(units));
    if (MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), units) != units)
        return false;
    std::u16string utf16(wide.begin(), wide.end());
    out += utf16ToUtf8(utf16);
    return true;
}
#endif

}  // namespace

unsigned charsetCodePage(std::int64_t charset) {
    auto found = std::ranges::lower_bound(kCharsets, charset, {}, &CharsetCodePage::charset);
    return found != kCharsets.end() && found->charset == charset ? found->codePage : kAnsiCodePage;
}

void appendCodePage(std::string& out, std::string_view bytes, unsigned codePage) {
    if (codePage == kSymbolCodePage) {
        appendSymbol(out, bytes);
        return;
    }
#ifdef _WIN32
    if (codePage != kWesternCodePage && appendFromSystem(out, bytes, codePage))
        return;
#endif
    appendCp1252(out, bytes);
}

}  // namespace bv::text
