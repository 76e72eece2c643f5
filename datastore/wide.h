#pragma once
// For the Windows code: the portable code speaks UTF-8; the W functions take
// UTF-16 in wchar_t units. Each unit is converted by value into a char16_t of
// the data store's conversion: reading wchar_t data through a char16_t*
// would break strict aliasing, as they are distinct types even where both
// are 16 bits (and where wchar_t is wider, the units still convert alike).
#include <string>
#include <string_view>

#include "datastore/text.h"

namespace bv::text {

inline std::wstring widen(std::string_view utf8) {
    const std::u16string u16 = utf8ToUtf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

inline std::string narrow(std::wstring_view utf16) {
    return utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

}  // namespace bv::text
