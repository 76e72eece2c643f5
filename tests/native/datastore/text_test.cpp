#include <gtest/gtest.h>

#include "datastore/failure.h"
#include "datastore/paths.h"
#include "datastore/text.h"
#include "datastore/wide.h"

namespace {

using namespace bv::text;

TEST(Utf8, ConvertsToUtf16AndBack) {
    const std::string samples[] = {"plain", "\xC3\xA9t\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC",
                                   "\xF0\x9F\x98\x80!", ""};
    for (const std::string& sample : samples)
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(sample)), sample);
    EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string({0xD83D, 0xDE00}));
    EXPECT_EQ(utf8ToUtf16("\xE2\x82\xAC"), std::u16string({0x20AC}));
}

// The Windows code's conversion reads each wchar_t unit by value. Here
// wchar_t has 32 bits, so reading its storage through a char16_t* (as a
// strict-aliasing-breaking cast would) gives zero units between the letters.
TEST(WideText, ConvertsUnitByUnit) {
    EXPECT_EQ(narrow(L"caf\u00e9"), "caf\xC3\xA9");
    const wchar_t pair[] = {0xD83D, 0xDE00, L'!', 0};  // UTF-16 units of U+1F600
    EXPECT_EQ(narrow(pair), "\xF0\x9F\x98\x80!");
    EXPECT_EQ(widen("\xF0\x9F\x98\x80!"), std::wstring(pair));
    EXPECT_EQ(narrow(widen("\xE6\x97\xA5 x")), "\xE6\x97\xA5 x");
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharacters) {
    // Each maximal invalid subpart gives one U+FFFD.
    EXPECT_EQ(utf8ToUtf16("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xE6\x97"), u"\uFFFD");  // cut short
    EXPECT_EQ(utf8ToUtf16("\xE6\x97x"), u"\uFFFDx");
    EXPECT_EQ(utf16ToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_TRUE(isValidUtf8("ok \xEF\xBF\xBD \xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("bad \xC3"));
    EXPECT_FALSE(isValidUtf8("bad \xED\xA0\x80"));
}

TEST(CodePage1252, MapsTheHighBytesBothWays) {
    for (auto [byte, unicode] :
         {std::pair{0x41, U'A'}, std::pair{0x80, U'\u20AC'}, std::pair{0x9F, U'\u0178'},
          std::pair{0xE9, U'\u00E9'}, std::pair{0x81, U'\u0081'}})
        EXPECT_EQ(cp1252ToUnicode(static_cast<unsigned char>(byte)), unicode) << byte;
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(unicodeToCp1252(cp1252ToUnicode(static_cast<unsigned char>(byte))), byte);
    for (char32_t unicode : {U'\u0080', U'\u0100', U'\u65E5'})
        EXPECT_EQ(unicodeToCp1252(unicode), -1) << static_cast<unsigned>(unicode);
}

// The fixed paths themselves are checked where the programs write and read
// them (config, agent settings and setup tests).
TEST(FixedPaths, SlotsOutsideOneToTenAreRefused) {
    using namespace bv::paths;
    EXPECT_THROW(wallpaper(0), bv::Failure);
    EXPECT_THROW(captionNote(11), bv::Failure);
}

}  // namespace
