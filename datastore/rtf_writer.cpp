// The document a rich text box saves after its plain text was set.
#include <cstdint>

#include "datastore/note.h"
#include "datastore/text.h"

namespace bv::note {

namespace {

constexpr std::string_view kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n"
    "\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs17 ";
constexpr std::string_view kTrailer = "\r\n\\par }\r\n";

void appendHexEscape(std::string& out, int byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out.push_back(kDigits[(byte >> 4) & 0xF]);
    out.push_back(kDigits[byte & 0xF]);
}

// \uN takes a signed 16-bit number; "?" is the one fallback character that
// \uc1 announces for readers without Unicode.
void appendUnicodeEscape(std::string& out, char16_t unit) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(unit));
    out.push_back('?');
}

}  // namespace

std::string toRtf(std::string_view text) {
    std::string out;
    out.reserve(kHeader.size() + kTrailer.size() + text.size() + text.size() / 4);
    out += kHeader;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = text::nextCodePoint(text, pos);
        switch (cp) {
            case '\\':
            case '{':
            case '}':
                out.push_back('\\');
                out.push_back(static_cast<char>(cp));
                continue;
            case '\t':
                out += "\\tab ";
                continue;
            case '\r':
                if (pos < text.size() && text[pos] == '\n')
                    ++pos;
                out += "\\par\r\n";
                continue;
            case '\n':
                out += "\\par\r\n";
                continue;
            default:
                break;
        }
        if (cp >= 0x20 && cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (int byte = text::unicodeToCp1252(cp); byte >= 0) {
            // Control characters are escaped too, so the file holds none raw.
            appendHexEscape(out, byte);
        } else if (cp >= 0x10000) {
            char32_t offset = cp - 0x10000;
            appendUnicodeEscape(out, static_cast<char16_t>(0xD800 + (offset >> 10)));
            appendUnicodeEscape(out, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        } else {
            appendUnicodeEscape(out, static_cast<char16_t>(cp));
        }
    }
    out += kTrailer;
    return out;
}

}  // namespace bv::note
