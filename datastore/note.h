#pragma once
// Note files: small RTF documents whose plain text is one value.
#include <optional>
#include <string>
#include <string_view>

namespace bv::note {

// The three-line document a rich text box saves for this plain text (UTF-8).
// Backslashes, braces and non-ASCII characters are escaped; line breaks
// become paragraph breaks.
std::string toRtf(std::string_view text);

// The plain text (UTF-8) of an RTF document, without a trailing paragraph
// break; paragraphs are separated by "\r\n". Input that is not RTF reads as
// its plain text in code page 1252. Returns nullopt only for input it cannot
// make sense of at all; never crashes or recurses on hostile input.
std::optional<std::string> plainText(std::string_view document);

// Reads a note file. Throws Failure if the file is missing, unreadable, or
// longer than 1 MiB (a note holds one short value).
std::string readNote(const std::string& path);

// Writes a note file atomically. Throws Failure if the folder is missing or
// the file cannot be written; the old file then stays as it was.
void writeNote(const std::string& path, std::string_view text);

}  // namespace bv::note
