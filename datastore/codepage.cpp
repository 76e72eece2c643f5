#include "datastore/codepage.h"

#include "datastore/text.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#include <vector>
#endif

namespace bv::text {

namespace {

void appendCp1252(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
}

#ifdef _WIN32
bool appendFromSystem(std::string& out, std::string_view bytes, unsigned codePage) {
    if (bytes.size() > INT_MAX / 2 || !IsValidCodePage(codePage)) {
        return false;
    }
    const int size = static_cast<int>(bytes.size());
    int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::vector<wchar_t> wide(static_cast<std::size_t>(units));
    if (MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), units) != units) {
        return false;
    }
    std::u16string utf16(wide.begin(), wide.end());
    out += utf16ToUtf8(utf16);
    return true;
}
#endif

}  // namespace

void appendCodePage(std::string& out, std::string_view bytes, unsigned codePage) {
#ifdef _WIN32
    if (codePage != 1252 && appendFromSystem(out, bytes, codePage)) {
        return;
    }
#else
    (void)codePage;
#endif
    appendCp1252(out, bytes);
}

}  // namespace bv::text
