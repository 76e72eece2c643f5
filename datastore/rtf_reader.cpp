// The plain text of an RTF document, as a rich text box shows it after loading.
// One pass over the bytes with an explicit group stack, so hostile nesting
// costs memory only up to a fixed depth and never recursion.
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "datastore/codepage.h"
#include "datastore/note.h"
#include "datastore/text.h"

namespace bv::note {

namespace {

// Notes nest a few groups deep; input nested beyond this is taken as corrupt.
constexpr std::size_t kMaxDepth = 4096;

// Destinations whose content is not part of the document's text. Every
// "{\*..." group is skipped too, but writers do forget the star, so the list
// holds the starred ones that carry no text as well.
// clang-format off
constexpr auto kSkippedDestinations = std::to_array<std::string_view>({
    "aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atnicn", "atnid", "atnref",
    "atntime", "atrfend", "atrfstart", "author", "bkmkend", "bkmkstart", "blipuid", "buptim",
    "colorschememapping", "colortbl", "comment", "creatim", "datafield", "datastore", "do",
    "doccomm", "docvar", "falt", "file", "filetbl", "fldinst", "fontfile", "fonttbl", "footer",
    "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep", "ftnsepc", "generator",
    "header", "headerf", "headerl", "headerr", "htmltag", "info", "keycode", "keywords",
    "latentstyles", "listoverridetable", "listpicture", "listtable", "listtext", "lsdlockedexcept",
    "mhtmltag", "nextfile", "nonesttables", "nonshppict", "objalias", "objclass", "objdata",
    "object", "objname", "objsect", "oldcprops", "oldpprops", "oldsprops", "oldtprops", "operator",
    "panose", "passwordhash", "pgptbl", "pict", "pn", "pnseclvl", "pntext", "pntxta", "pntxtb",
    "printim", "protusertbl", "revtbl", "revtim", "rsidtbl", "rxe", "shp", "shpinst", "shppict",
    "shprslt", "shptxt", "sp", "stylesheet", "subject", "tc", "template", "themedata", "title",
    "txe", "userprops", "wgrffmtfilter", "writereservhash", "xe", "xmlnstbl",
});
// clang-format on
static_assert(std::ranges::is_sorted(kSkippedDestinations));

struct Symbol {
    std::string_view word;
    char32_t cp;
};

// Control words that stand for one character; sorted by word.
constexpr std::array<Symbol, 17> kSymbols = {{{"bullet", 0x2022},
                                              {"cell", '\t'},
                                              {"emdash", 0x2014},
                                              {"emspace", 0x2003},
                                              {"endash", 0x2013},
                                              {"enspace", 0x2002},
                                              {"ldblquote", 0x201C},
                                              {"lquote", 0x2018},
                                              {"ltrmark", 0x200E},
                                              {"qmspace", 0x2005},
                                              {"rdblquote", 0x201D},
                                              {"rquote", 0x2019},
                                              {"rtlmark", 0x200F},
                                              {"tab", '\t'},
                                              {"zwbo", 0x200B},
                                              {"zwj", 0x200D},
                                              {"zwnj", 0x200C}}};
static_assert(std::ranges::is_sorted(kSymbols, {}, &Symbol::word));

// Control words that end a paragraph or a line.
constexpr std::array<std::string_view, 5> kBreaks = {"line", "page", "par", "row", "sect"};
static_assert(std::ranges::is_sorted(kBreaks));

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// What a group's text is: the document's, a destination that is skipped, or
// the font table, skipped too but whose words define the fonts.
enum class Destination { Text, Skipped, FontTable };

struct Group {
    Destination destination = Destination::Text;
    int fallbackCount = 1;  // \ucN: characters that follow each \uN for old readers
    // Of the 8-bit text: the current font's, else the document's.
    unsigned codePage = text::kWesternCodePage;

    bool skipped() const { return destination != Destination::Text; }
};

struct Font {
    unsigned fromCharset = text::kAnsiCodePage;  // a font without \fcharset
    std::optional<unsigned> named;               // \cpgN, which wins over the charset

    unsigned codePage() const { return named.value_or(fromCharset); }
};

bool isCodePage(std::int64_t number) {
    return number > 0 && number < 65536;
}

class Reader {
  public:
    explicit Reader(std::string_view input) : in_(input) { out_.reserve(input.size() / 2); }

    std::optional<std::string> run() {
        while (pos_ < in_.size()) {
            char c = in_[pos_++];
            switch (c) {
                case '{':
                    // Bytes pending stay: the group starts in the same code page, and a
                    // double-byte character may go on inside it.
                    fallbackLeft_ = 0;
                    if (groups_.size() >= kMaxDepth)
                        return std::nullopt;
                    groups_.push_back(groups_.empty() ? Group{} : groups_.back());
                    break;
                case '}': {
                    flushBytes();
                    fallbackLeft_ = 0;
                    const bool closesFontTable =
                        !groups_.empty() && groups_.back().destination == Destination::FontTable;
                    if (!groups_.empty())
                        groups_.pop_back();
                    if (groups_.empty())
                        return finish();  // whatever follows the document is not read
                    if (closesFontTable && group().destination != Destination::FontTable) {
                        // Text before any \f is in the default font.
                        selectFont(defaultFont_);
                    }
                    break;
                }
                case '\\':
                    control();
                    break;
                case '\r':
                case '\n':
                case '\0':
                    break;
                default:
                    textByte(static_cast<unsigned char>(c));
                    break;
            }
        }
        return finish();  // an unterminated group keeps what was read
    }

  private:
    Group& group() { return groups_.back(); }

    bool takeFallback() {
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return true;
        }
        return false;
    }

    void textByte(unsigned char byte) {
        if (takeFallback() || group().skipped())
            return;
        // Plain ASCII too goes through the code page: it may be a trail byte,
        // and in a symbol font it stands for a symbol.
        bytes_.push_back(static_cast<char>(byte));
    }

    void control() {
        if (pos_ >= in_.size())
            return;
        if (isLetter(in_[pos_])) {
            controlWord();
            return;
        }
        char c = in_[pos_++];
        if (c == '\'') {
            hexByte();
            return;
        }
        if (c == '*') {
            // Within the font table, what the star marks is still the table's.
            if (group().destination == Destination::Text)
                group().destination = Destination::Skipped;
            return;
        }
        if (takeFallback() || group().skipped())
            return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                bytes_.push_back(c);
                break;
            case '~':
                emit(0x00A0);
                break;
            case '_':
                emit(0x2011);
                break;
            case '\r':
            case '\n':
                emitBreak();
                break;
            default:
                break;  // "\-" optional hyphen and unknown symbols show nothing
        }
    }

    void hexByte() {
        if (pos_ + 1 >= in_.size()) {
            pos_ = in_.size();
            return;
        }
        int high = hexValue(in_[pos_]);
        int low = high < 0 ? -1 : hexValue(in_[pos_ + 1]);
        if (low < 0)
            return;  // a broken escape: what follows it is read as text
        pos_ += 2;
        if (takeFallback() || group().skipped())
            return;
        // Kept back so that double-byte code pages see both bytes together.
        bytes_.push_back(static_cast<char>(high * 16 + low));
    }

    void controlWord() {
        std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        std::string_view word = in_.substr(start, pos_ - start);
        bool hasParameter = false;
        bool negative = false;
        std::int64_t parameter = 0;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            hasParameter = true;
            if (parameter < 100'000'000'000)
                parameter = parameter * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            parameter = -parameter;
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        flushBytes();
        if (word == "bin") {
            // Binary data of this length follows; it is never text.
            std::int64_t left = static_cast<std::int64_t>(in_.size() - pos_);
            pos_ += static_cast<std::size_t>(std::clamp<std::int64_t>(parameter, 0, left));
            takeFallback();
            return;
        }
        if (takeFallback())
            return;
        applyWord(word, hasParameter, parameter);
    }

    void applyWord(std::string_view word, bool hasParameter, std::int64_t parameter) {
        if (group().destination == Destination::FontTable && fontTableWord(word, parameter))
            return;
        if (word == "ansicpg") {
            setDocumentCodePage(isCodePage(parameter) ? static_cast<unsigned>(parameter)
                                                      : text::kWesternCodePage);
            return;
        }
        if (word == "ansi") {
            setDocumentCodePage(text::kWesternCodePage);
            return;
        }
        if (word == "mac") {
            setDocumentCodePage(text::kMacRomanCodePage);
            return;
        }
        if (word == "pc") {
            setDocumentCodePage(text::kDosCodePage);
            return;
        }
        if (word == "pca") {
            setDocumentCodePage(text::kDosWesternCodePage);
            return;
        }
        if (word == "deff") {
            defaultFont_ = parameter;
            return;
        }
        if (word == "uc") {
            group().fallbackCount = static_cast<int>(std::clamp<std::int64_t>(parameter, 0, 255));
            return;
        }
        if (std::ranges::binary_search(kSkippedDestinations, word)) {
            if (word == "fonttbl") {
                group().destination = Destination::FontTable;
                definingFont_ = nullptr;
            } else {
                group().destination = Destination::Skipped;
            }
            return;
        }
        if (group().skipped())
            return;
        if (word == "f") {
            selectFont(parameter);
            return;
        }
        if (word == "u") {
            if (hasParameter) {
                // A signed 16-bit number: negative values stand for 32768 and up.
                unicodeUnit(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
                fallbackLeft_ = group().fallbackCount;
            }
            return;
        }
        if (std::ranges::binary_search(kBreaks, word)) {
            emitBreak();
            return;
        }
        auto symbol = std::ranges::lower_bound(kSymbols, word, {}, &Symbol::word);
        if (symbol != kSymbols.end() && symbol->word == word)
            emit(symbol->cp);
    }

    // Font definitions; whatever else the table holds is skipped.
    bool fontTableWord(std::string_view word, std::int64_t parameter) {
        if (word == "f") {
            definingFont_ = &(fonts_[parameter] = Font{});  // the last definition counts
            return true;
        }
        if (definingFont_ == nullptr)
            return false;
        if (word == "fcharset") {
            definingFont_->fromCharset = text::charsetCodePage(parameter);
            return true;
        }
        if (word == "cpg") {
            if (isCodePage(parameter))
                definingFont_->named = static_cast<unsigned>(parameter);
            return true;
        }
        return false;
    }

    void setDocumentCodePage(unsigned codePage) {
        documentCodePage_ = codePage;
        group().codePage = codePage;
    }

    // Text in a font is written in the code page of the font's charset; an
    // unknown font leaves the code page as it was, and UTF-8 documents ignore
    // the fonts' charsets.
    void selectFont(std::int64_t number) {
        auto font = fonts_.find(number);
        if (font != fonts_.end() && documentCodePage_ != text::kUtf8CodePage)
            group().codePage = font->second.codePage();
    }

    void unicodeUnit(char16_t unit) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            dropHighSurrogate();
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_ != 0) {
                char32_t cp =
                    0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
                highSurrogate_ = 0;
                text::appendUtf8(out_, cp);
            } else {
                text::appendUtf8(out_, 0xFFFD);
            }
            return;
        }
        emit(unit);
    }

    void dropHighSurrogate() {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            text::appendUtf8(out_, 0xFFFD);
        }
    }

    void emit(char32_t cp) {
        flushBytes();
        dropHighSurrogate();
        text::appendUtf8(out_, cp);
    }

    void emitBreak() {
        emit('\r');
        out_.push_back('\n');
    }

    void flushBytes() {
        if (!bytes_.empty()) {
            dropHighSurrogate();
            text::appendCodePage(out_, bytes_, group().codePage);
            bytes_.clear();
        }
    }

    std::string finish() {
        flushBytes();
        dropHighSurrogate();
        if (out_.ends_with("\r\n"))
            out_.resize(out_.size() - 2);
        return std::move(out_);
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_;
    std::string out_;
    // 8-bit text not yet decoded, kept back so that a double-byte character
    // is decoded whole: decoded in its group's code page at the next control
    // word, character of another kind or end of a group.
    std::string bytes_;
    char16_t highSurrogate_ = 0;
    int fallbackLeft_ = 0;
    unsigned documentCodePage_ = text::kWesternCodePage;
    std::map<std::int64_t, Font> fonts_;
    Font* definingFont_ = nullptr;  // the font table entry being read
    std::int64_t defaultFont_ = 0;
};

// A file that is not RTF loads as plain text in the ANSI code page; its
// line breaks become paragraph breaks like any others.
std::string plainFileText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            text::appendUtf8(out, text::cp1252ToUnicode(static_cast<unsigned char>(c)));
        }
    }
    if (out.ends_with("\r\n"))
        out.resize(out.size() - 2);
    return out;
}

}  // namespace

std::optional<std::string> plainText(std::string_view document) {
    std::size_t start = document.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !document.substr(start).starts_with("{\\rtf"))
        return plainFileText(document);
    return Reader(document.substr(start)).run();
}

}  // namespace bv::note
