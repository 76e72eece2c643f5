#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "datastore/note.h"
#include "datastore/numbers.h"
#include "datastore/text.h"

namespace {

using bv::note::plainText;
using bv::note::toRtf;

const std::string kFirstLine =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n";
const std::string kSecondLine = "\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs17 ";
const std::string kLastLine = "\\par }\r\n";

std::string document(const std::string& body) {
    return kFirstLine + kSecondLine + body + "\r\n" + kLastLine;
}

TEST(NoteWriter, WritesTheThreeLineDocument) {
    EXPECT_EQ(toRtf("2500"), document("2500"));
    EXPECT_EQ(toRtf("Selected Image # beach.bmp"), document("Selected Image # beach.bmp"));
    EXPECT_EQ(toRtf(""), document(""));
}

TEST(NoteWriter, EscapesWhatRtfReserves) {
    EXPECT_EQ(toRtf("a\\b{c}"), document("a\\\\b\\{c\\}"));
    EXPECT_EQ(toRtf("caf\xC3\xA9 \xE2\x82\xAC"), document("caf\\'e9 \\'80"));
    EXPECT_EQ(toRtf("\xE6\x97\xA5"), document("\\u26085?"));
    EXPECT_EQ(toRtf("\xEF\xBC\xA1"), document("\\u-223?"));                 // U+FF21
    EXPECT_EQ(toRtf("\xF0\x9F\x98\x80"), document("\\u-10179?\\u-8704?"));  // U+1F600
    EXPECT_EQ(toRtf("a\tb"), document("a\\tab b"));
    EXPECT_EQ(toRtf("a\r\nb\nc\rd"), document("a\\par\r\nb\\par\r\nc\\par\r\nd"));
    EXPECT_EQ(toRtf(std::string("\x01", 1)), document("\\'01"));
}

TEST(NoteWriter, InvalidUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(toRtf("a\xFF"
                    "b"),
              document("a\\u-3?b"));
    EXPECT_EQ(plainText(toRtf("\xC3")), "\xEF\xBF\xBD");
}

TEST(NoteRoundTrip, TrickyCaptionsReadBackExactly) {
    const char* captions[] = {
        "Selected Image # beach.bmp",
        "C:\\My Pictures\\{draft}\\x.bmp",
        "\\par not a paragraph \\'41 \\u65?",
        "}{",
        "Selected Image # caf\xC3\xA9 \xC3\xBC\xC3\x9F \xC3\x89t\xC3\xA9.bmp",
        "\xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\x94 \xE2\x82\xAC"
        "5",
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.bmp",
        "emoji \xF0\x9F\x98\x80\xF0\x9F\x8C\x8A done",
        "tab\there\tand\t",
        "line one\r\nline two\r\n\r\nline four",
        "trailing break\r\n",
        "  leading and trailing blanks  ",
        "9digits1234",
        "\xC2\x81\xC2\x8D\xC2\x80\xC2\xA0",  // undefined cp1252 bytes, U+0080, nbsp
        "",
    };
    for (const char* caption : captions)
        EXPECT_EQ(plainText(toRtf(caption)), caption);
}

TEST(NoteRoundTrip, LoneLineFeedsComeBackAsParagraphBreaks) {
    EXPECT_EQ(plainText(toRtf("a\nb\rc")), "a\r\nb\r\nc");
}

TEST(NoteReader, ExtraFormattingReadsAsPlainText) {
    const std::string bold =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}"
        "{\\f1\\froman\\fprq2 Times New Roman;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\b heading 1;}}\r\n"
        "{\\*\\generator Riched20 5.50.99.2014;}{\\info{\\title Title}{\\author Me}}\r\n"
        "\\viewkind4\\uc1\\pard\\cf1\\lang1033\\b\\f1\\fs24 30\\b0 00"
        "{\\pict\\wmetafile8\\picw10\\pich10 0102ffee}\\par\r\n}\r\n";
    EXPECT_EQ(plainText(bold), "3000");
    EXPECT_EQ(bv::num::leadingInteger(*plainText(bold)), 3000);

    EXPECT_EQ(
        plainText("{\\rtf1{\\header page header}{\\footer foot}{\\*\\unknownword x}"
                  "body{\\*\\bkmkstart b}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}"),
        "bodylink");
    EXPECT_EQ(plainText("{\\rtf1 a{\\b b}c{\\i{\\ul d}}e}"), "abcde");
    // Writers that forget the star: the group still holds no text.
    EXPECT_EQ(plainText("{\\rtf1{*\\generator Riched20 10.0;}{\\bkmkstart b}{\\nonesttables n}x}"),
              "*x");
}

// This build decodes only code pages 1252 and symbol; text in a font of any
// other script falls back to 1252 here and is proved under Wine
// (rtf_interop_test), where the system converts it.
TEST(NoteReader, TextInAFontReadsInTheCodePageOfItsCharset) {
    const std::string fonts =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset222 Tahoma;}}";
    // A symbol font's bytes, ASCII ones too, are its private-use characters;
    // Unicode escapes and control symbols stay what they are.
    EXPECT_EQ(plainText(fonts + "a{\\f1 a\\'b7\\{\\u8226?\\tab\\~}a}"),
              "a\uF061\uF0B7\uF07B\u2022\t\u00A0a");
    EXPECT_EQ(plainText(fonts + "\\f1 a\\f9 a\\f0 a}"), "\uF061\uF061a");  // no font 9
    EXPECT_EQ(plainText(fonts + "\\f2 \\'e0\\f2 \xe0}"), "\u00E0\u00E0");  // fallback
    // The default font sets the code page before any \f, \cpg wins over
    // the charset, the last definition of a number counts, and a table
    // without groups defines fonts too.
    EXPECT_EQ(plainText("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 S;}}a}"), "\uF061");
    EXPECT_EQ(plainText("{\\rtf1{\\fonttbl{\\f1\\cpg1252\\fcharset2 A;}}\\f1 a}"), "a");
    EXPECT_EQ(plainText("{\\rtf1{\\fonttbl{\\f1\\fcharset2 A;}{\\f1 B;}}\\f1 a}"), "a");
    EXPECT_EQ(plainText("{\\rtf1{\\fonttbl\\f0 A;\\f1\\fcharset2{\\*\\panose 0}S;}\\f1 a}"),
              "\uF061");
    // UTF-8 documents keep their code page whatever the font.
    EXPECT_EQ(plainText("{\\rtf1\\ansicpg65001{\\fonttbl{\\f1\\fcharset2 S;}}\\f1 a}"), "a");
}

TEST(NoteReader, NumberFollowedByParagraphBreakReadsAsNumber) {
    EXPECT_EQ(plainText("{\\rtf1\\ansi 2500\\par\r\n}"), "2500");
    EXPECT_EQ(plainText("{\\rtf1\\ansi 2500\\par\\par }"), "2500\r\n");
    EXPECT_EQ(bv::num::leadingInteger(*plainText("{\\rtf1\\ansi 2500\\par\\par }")), 2500);
}

TEST(NoteReader, DecodesEscapesAndSpecialCharacters) {
    EXPECT_EQ(plainText("{\\rtf1\\ansi\\ansicpg1252 \\'e9\\'E9\\'80\\'zz}"),
              "\xC3\xA9\xC3\xA9\xE2\x82\xACzz");
    EXPECT_EQ(plainText("{\\rtf1\\uc2 \\u26085\\'93\\'fa!\\uc0\\u-3 x}"),
              "\xE6\x97\xA5!\xEF\xBF\xBDx");
    EXPECT_EQ(plainText("{\\rtf1 {\\uc3 \\u8364 abcd}\\u8364?e}"),
              "\xE2\x82\xAC"
              "d\xE2\x82\xAC"
              "e");
    EXPECT_EQ(plainText("{\\rtf1 \\u-10179?\\u-8704?|\\u-10179?x|\\u-8704?}"),
              "\xF0\x9F\x98\x80|\xEF\xBF\xBDx|\xEF\xBF\xBD");
    EXPECT_EQ(plainText("{\\rtf1 a\\tab b\\line c\\emdash\\endash\\lquote\\rquote\\ldblquote"
                        "\\rdblquote\\bullet\\~\\-\\_d}"),
              "a\tb\r\nc\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"
              "\xE2\x80\xA2\xC2\xA0\xE2\x80\x91"
              "d");
    EXPECT_EQ(plainText("{\\rtf1 a\r\nb\\\r\nc}"), "ab\r\nc");
    EXPECT_EQ(plainText("{\\rtf1 a\\bin4 }{\\}b}"), "ab");
    EXPECT_EQ(plainText("{\\rtf1 a\\bin999999 xyz}"), "a");
}

TEST(NoteReader, EndsAtTheClosingBraceOrTheEndOfInput) {
    EXPECT_EQ(plainText("{\\rtf1 done}ignored {more}"), "done");
    EXPECT_EQ(plainText("{\\rtf1 cut {\\b off"), "cut off");
    EXPECT_EQ(plainText("{\\rtf1 trailing backslash\\"), "trailing backslash");
    EXPECT_EQ(plainText("{\\rtf1 cut escape\\'4"), "cut escape");
    EXPECT_EQ(plainText("  \r\n{\\rtf1 after blanks}"), "after blanks");
}

TEST(NoteReader, NonRtfReadsAsCodePage1252Text) {
    EXPECT_EQ(plainText("2500"), "2500");
    EXPECT_EQ(plainText("2500\r\n"), "2500");
    EXPECT_EQ(plainText("line\nnext\n\n"), "line\r\nnext\r\n");
    EXPECT_EQ(plainText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(plainText("{\\rt not rtf}"), "{\\rt not rtf}");
    EXPECT_EQ(plainText(""), "");
}

TEST(NoteReaderHostileInput, DeepNestingIsRefusedWithoutRecursion) {
    std::string deep = "{\\rtf1 " + std::string(1'000'000, '{');
    EXPECT_EQ(plainText(deep), std::nullopt);
    std::string closed = "{\\rtf1 x" + std::string(1'000'000, '}');
    EXPECT_EQ(plainText(closed), "x");
    std::string allowed = "{\\rtf1 " + std::string(4000, '{') + "deep" + std::string(4001, '}');
    EXPECT_EQ(plainText(allowed), "deep");
}

TEST(NoteReaderHostileInput, LargeDocumentsAreReadCompletely) {
    std::string many = "{\\rtf1 ";
    for (int i = 0; i < 200'000; ++i)
        many += "{\\b x}\\u8364?";
    many += "}";
    std::optional<std::string> text = plainText(many);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 200'000u * 4);
    std::string longWord = "{\\rtf1 \\" + std::string(1'000'000, 'a') + "123 x}";
    EXPECT_EQ(plainText(longWord), "x");
}

TEST(NoteReaderHostileInput, RandomBytesGiveValidText) {
    std::mt19937 random(12345);
    const std::string alphabet = "{}\\'*uc0123456789-abinparx \r\n\x80\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string input = round % 2 == 0 ? "{\\rtf1 " : "";
        std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            input.push_back(round % 3 == 0 ? static_cast<char>(random())
                                           : alphabet[random() % alphabet.size()]);
        }
        std::optional<std::string> text = plainText(input);
        ASSERT_TRUE(text) << input;
        EXPECT_TRUE(bv::text::isValidUtf8(*text)) << input;
    }
}

}  // namespace
