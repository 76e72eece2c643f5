#pragma once
// Decoding of the 8-bit text that RTF documents carry in their code page.
#include <string>
#include <string_view>

namespace bv::text {

// Appends the UTF-8 form of bytes in a Windows code page. Code page 1252 is
// built in; the Windows build asks the system for others, and anything it
// cannot decode is read as code page 1252.
void appendCodePage(std::string& out, std::string_view bytes, unsigned codePage);

}  // namespace bv::text
