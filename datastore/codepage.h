#pragma once
// Decoding of the 8-bit text that RTF documents carry in their code page.
#include <cstdint>
#include <string>
#include <string_view>

namespace bv::text {

// Code pages that stand for a choice of the system, numbered as Windows
// numbers them.
inline constexpr unsigned kAnsiCodePage = 0;  // the system's ANSI code page
inline constexpr unsigned kOemCodePage = 1;
inline constexpr unsigned kMacCodePage = 2;
inline constexpr unsigned kSymbolCodePage = 42;  // symbol fonts: byte b stands for U+F000 + b

// Code pages that RTF names by a word of its own, and the one it is read in
// when a document names none.
inline constexpr unsigned kWesternCodePage = 1252;    // \ansi
inline constexpr unsigned kDosCodePage = 437;         // \pc
inline constexpr unsigned kDosWesternCodePage = 850;  // \pca
inline constexpr unsigned kMacRomanCodePage = 10000;  // \mac
inline constexpr unsigned kUtf8CodePage = 65001;

// The code page in which RTF writes text of a font with this \fcharset.
// Charsets without a code page of their own mean the system's ANSI one.
unsigned charsetCodePage(std::int64_t charset);

// Appends the UTF-8 form of bytes in a Windows code page. Code pages 1252
// and symbol are built in; the Windows build asks the system for others, and
// anything it cannot decode is read as code page 1252. The native build has
// no other code page, and the system's ANSI code page is 1252 there.
void appendCodePage(std::string& out, std::string_view bytes, unsigned codePage);

}  // namespace bv::text
