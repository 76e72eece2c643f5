#pragma once
// Conversions between the UTF-8 strings of the portable code and the
// UTF-16 and code page 1252 text of the platform and the note files.
#include <cstddef>
#include <string>
#include <string_view>

namespace bv::text {

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Code page 1252 byte to its Unicode code point (undefined bytes map to themselves).
char32_t cp1252ToUnicode(unsigned char byte);
// The cp1252 byte for a code point, or -1 when the code page lacks it.
int unicodeToCp1252(char32_t cp);

void appendUtf8(std::string& out, char32_t cp);

// The code point that starts at pos, advancing pos past it. An invalid or
// cut-off sequence gives U+FFFD and advances past its longest valid prefix.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);

bool isValidUtf8(std::string_view bytes);

}  // namespace bv::text
