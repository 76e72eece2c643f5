#pragma once
// Windows builds only. The portable code speaks UTF-8; the W functions take UTF-16. wchar_t and
// char16_t are both 16 bits on Windows, so the conversion of the data store
// serves directly.
#include <string>
#include <string_view>

#include "datastore/text.h"

namespace bv::text {

inline std::wstring widen(std::string_view utf8) {
    const std::u16string u16 = utf8ToUtf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

inline std::string narrow(std::wstring_view utf16) {
    return utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

}  // namespace bv::text
