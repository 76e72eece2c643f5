// Our note files against the platform's own rich edit control (riched20):
// what our writer saves the control must load as the same text, and what the
// control saves our reader must read as the same text.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/failure.h"
#include "datastore/note.h"

namespace {

// UTF-8 <-> UTF-16 through the platform, independent of the code under test.
std::wstring wide(std::string_view utf8) {
    std::wstring out(utf8.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? n : 0);
    return out;
}

std::string narrow(std::wstring_view text) {
    std::string out(text.size() * 4, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

// Paragraph breaks as "\n" whatever their spelling ("\r" in rich edit 2.0,
// "\r\n" elsewhere), and no trailing break: the text a person sees.
std::string normalised(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// A hidden rich edit control of the platform, as the programs' note boxes are.
class RichEdit {
  public:
    RichEdit() {
        library_ = LoadLibraryW(L"riched20.dll");
        window_ = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~RichEdit() {
        if (window_ != nullptr)
            DestroyWindow(window_);
        if (library_ != nullptr)
            FreeLibrary(library_);
    }
    RichEdit(const RichEdit&) = delete;
    RichEdit& operator=(const RichEdit&) = delete;

    bool ready() const { return window_ != nullptr; }

    // Loads an RTF document the way "load from file" does (SF_RTF).
    bool streamIn(const std::string& document) {
        Source source{document, 0};
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        stream.pfnCallback = &RichEdit::read;
        SendMessageW(window_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        return stream.dwError == 0;
    }

    // Saves the document as RTF, the way "save to file" does.
    std::string streamOut() {
        std::string document;
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&document);
        stream.pfnCallback = &RichEdit::write;
        SendMessageW(window_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        return document;
    }

    void setText(const std::wstring& text) {
        SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    std::wstring text() const {
        std::wstring buffer(4096, L'\0');
        GETTEXTEX get{};
        get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        get.flags = GT_DEFAULT;
        get.codepage = 1200;  // UTF-16
        const auto length = SendMessageW(window_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                         reinterpret_cast<LPARAM>(buffer.data()));
        buffer.resize(static_cast<std::size_t>(length));
        return buffer;
    }

    // Puts characters [start, end) in a font of a script, as a user does who
    // picks a font and types in its script.
    void setFont(LONG start, LONG end, const wchar_t* face, BYTE charset) {
        CHARRANGE range{start, end};
        SendMessageW(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_FACE | CFM_CHARSET;
        format.bCharSet = charset;
        wcscpy(format.szFaceName, face);
        SendMessageW(window_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }

    // Applies formatting of its own to the whole document.
    void formatAll() {
        CHARRANGE all{0, -1};
        SendMessageW(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE;
        format.dwEffects = CFE_BOLD;
        format.crTextColor = RGB(200, 0, 0);
        format.yHeight = 14 * 20;
        wcscpy(format.szFaceName, L"Courier New");
        SendMessageW(window_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }

  private:
    struct Source {
        const std::string& bytes;
        std::size_t offset;
    };

    static DWORD CALLBACK read(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
        auto* source = reinterpret_cast<Source*>(cookie);
        const std::size_t left = source->bytes.size() - source->offset;
        const std::size_t n = left < static_cast<std::size_t>(wanted) ? left : wanted;
        source->bytes.copy(reinterpret_cast<char*>(buffer), n, source->offset);
        source->offset += n;
        *got = static_cast<LONG>(n);
        return 0;
    }

    static DWORD CALLBACK write(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), count);
        *done = count;
        return 0;
    }

    HMODULE library_ = nullptr;
    HWND window_ = nullptr;
};

std::string readWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Names in a folder, "." and ".." left out.
std::vector<std::wstring> folderContents(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

// Values the programs keep in note files, and the characters that need
// escaping or lie outside the note files' code page.
const char* const kValues[] = {
    "1000",
    "10000",
    "-42",
    "Click here to add image...",
    "Selected Image # holiday.bmp",
    "Selected Image # my{pic}\\été.bmp",
    "café crème, Müller, Straße, niño, Ångström, ÿ",
    "€ “quotes” – dash … ellipsis ™",
    "Ελληνικά",
    "壁紙の写真 桜",
    "Привет, мир",
    "mixed é Ω 桜 ß",
    "clef 𝄞 and smile 😀",
    "{braces}} {{and}\\ \\backslashes\\",
    "not control words: \\par \\u233 \\'e9 \\b0",
    " leading and trailing spaces ",
    "first line\nsecond line",
    "",
};

// With BV_NOTE_SEED_DIR set (tools/fuzz.sh --reseed), the documents of these
// cases are kept there as the fuzzer's seeds.
void keepAsSeed(const std::string& kind, const std::string& document) {
    const char* folder = std::getenv("BV_NOTE_SEED_DIR");
    if (folder == nullptr || *folder == '\0')
        return;
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    name = name.substr(name.find('/') + 1);
    writeWholeFile(wide(std::string(folder) + "\\" + kind + "_" + name + ".rtf"), document);
}

class NoteInterop : public testing::TestWithParam<const char*> {};

TEST_P(NoteInterop, RichEditLoadsWhatWeWrite) {
    const std::string value = GetParam();
    RichEdit edit;
    ASSERT_TRUE(edit.ready());
    const std::string document = bv::note::toRtf(value);
    keepAsSeed("writer", document);
    ASSERT_TRUE(edit.streamIn(document));
    EXPECT_EQ(normalised(narrow(edit.text())), normalised(value)) << "document:\n" << document;
}

// Wine 8's rich edit writer maps characters outside code page 1252 through
// the code page's best-fit table when one exists there (Ω, α, δ are saved as
// O, a, d) and writes \uN only for the rest, so the document it saves may
// hold less than the control showed. What counts for our reader is reading
// the same text as the control reads back from that document; for text within
// code page 1252 that must also be the original value.
std::string platformReading(const std::string& document) {
    RichEdit reader;
    EXPECT_TRUE(reader.streamIn(document));
    return normalised(narrow(reader.text()));
}

bool withinCodePage(const std::string& value, UINT codePage) {
    const std::wstring text = wide(value);
    BOOL lost = FALSE;
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        nullptr, 0, nullptr, &lost);
    return !lost;
}

TEST_P(NoteInterop, WeReadWhatRichEditSaves) {
    const std::string value = GetParam();
    RichEdit edit;
    ASSERT_TRUE(edit.ready());
    std::wstring text = wide(value);
    for (std::size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; at += 2)
        text.insert(at, 1, L'\r');
    edit.setText(text);
    const std::string plain = edit.streamOut();
    // The same text again with the control's own font, size, colour and bold.
    edit.formatAll();
    const std::string formatted = edit.streamOut();
    keepAsSeed("richedit", plain);
    keepAsSeed("richedit_formatted", formatted);

    for (const std::string& document : {plain, formatted}) {
        const std::string expected = platformReading(document);
        if (withinCodePage(value, 1252)) {
            SCOPED_TRACE("document:\n" + document);
            EXPECT_EQ(expected, normalised(value));
        }
        const auto read = bv::note::plainText(document);
        ASSERT_TRUE(read.has_value()) << "document:\n" << document;
        EXPECT_EQ(normalised(*read), expected) << "document:\n" << document;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, NoteInterop, testing::ValuesIn(kValues));

// Text in fonts of other scripts. On a Western system the rich edit writes
// such text as bytes of the font's code page under \ansicpg1252; the platform
// converts them, so this is where the scripts themselves are proved.
struct Script {
    const char* name;
    BYTE charset;
    UINT codePage;  // 0: the system's ANSI code page
    const wchar_t* face;
    const char* sample;
};

const Script kSymbol{"Symbol", SYMBOL_CHARSET, CP_SYMBOL, L"Symbol", "ab\uF061\uF0B7"};

const Script kScripts[] = {
    {"Western", ANSI_CHARSET, 1252, L"Arial", "Caf\u00E9 M\u00FCller"},
    {"Central European", EASTEUROPE_CHARSET, 1250, L"Arial",
     "\u010Ce\u0161tina, \u0141\u00F3d\u017A, \u0151\u0171"},
    {"Cyrillic", RUSSIAN_CHARSET, 1251, L"Arial",
     "\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440"},
    {"Greek", GREEK_CHARSET, 1253, L"Arial", "\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"},
    {"Turkish", TURKISH_CHARSET, 1254, L"Arial", "T\u00FCrk\u00E7e \u011F\u0131\u015F \u0130"},
    {"Hebrew", HEBREW_CHARSET, 1255, L"Arial", "\u05E2\u05D1\u05E8\u05D9\u05EA"},
    {"Arabic", ARABIC_CHARSET, 1256, L"Arial", "\u0627\u0644\u0639\u0631\u0628\u064A\u0629"},
    {"Baltic", BALTIC_CHARSET, 1257, L"Arial",
     "Lietuvi\u0173 \u0105\u010D\u0119\u0117\u012F\u0161\u016B\u017E"},
    // Vietnamese tone marks are combining characters in its code page.
    {"Vietnamese", VIETNAMESE_CHARSET, 1258, L"Arial",
     "Ti\u00EA\u0301ng Vi\u00EA\u0323t \u0111\u01B0\u01A1\u0300ng"},
    {"Thai", THAI_CHARSET, 874, L"Tahoma", "\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22"},
    {"unknown charset", 99, 0, L"Arial", "d\u00E9j\u00E0 vu"},
};

// Each has characters whose trail byte is "\\" (0x5C) or another ASCII byte.
const Script kDoubleByteScripts[] = {
    {"Japanese", SHIFTJIS_CHARSET, 932, L"MS Gothic",
     "\u58C1\u7D19\u306E\u5199\u771F \u8868\u793A \u30BD\u30FC"},
    {"Korean", HANGUL_CHARSET, 949, L"Gulim", "\uD55C\uAD6D\uC5B4 \uBC30\uACBD"},
    {"Simplified Chinese", GB2312_CHARSET, 936, L"SimSun", "\u7B80\u4F53\u4E2D\u6587 \u58C1\u7EB8"},
    {"Traditional Chinese", CHINESEBIG5_CHARSET, 950, L"MingLiU",
     "\u7E41\u9AD4 \u8A31\u529F\u84CB"},
};

// A piece of a note, in a script's font or (without one) the control's own.
struct Piece {
    std::string text;
    const Script* script;
};

// The platform's rich edit holds these pieces, each in its font, and saves
// them; our reader must read the document as the control reads it, and that
// is the text the control held (but for the symbol font, which the rich edit
// itself does not read back as it held it).
void expectWeReadWhatRichEditSaves(const std::vector<Piece>& pieces) {
    RichEdit edit;
    ASSERT_TRUE(edit.ready());
    std::wstring all;
    for (const Piece& piece : pieces)
        all += wide(piece.text);
    edit.setText(all);
    LONG at = 0;
    bool symbol = false;
    for (const Piece& piece : pieces) {
        const auto length = static_cast<LONG>(wide(piece.text).size());
        if (piece.script != nullptr) {
            const UINT codePage = piece.script->codePage == 0 ? GetACP() : piece.script->codePage;
            symbol = symbol || codePage == CP_SYMBOL;
            ASSERT_TRUE(codePage == CP_SYMBOL || withinCodePage(piece.text, codePage))
                << piece.text;
            edit.setFont(at, at + length, piece.script->face, piece.script->charset);
        }
        at += length;
    }
    const std::string held = normalised(narrow(edit.text()));
    const std::string document = edit.streamOut();
    std::string seed = "richedit_";
    for (const Piece& piece : pieces)
        seed += piece.script != nullptr ? piece.script->name : "";
    std::replace(seed.begin(), seed.end(), ' ', '_');
    keepAsSeed(seed.size() > 40 ? "richedit_scripts" : seed, document);
    for (const Piece& piece : pieces) {
        if (piece.script != nullptr) {
            EXPECT_NE(document.find("\\fcharset" + std::to_string(piece.script->charset) + " "),
                      std::string::npos)
                << "document:\n"
                << document;
        }
    }
    const std::string expected = platformReading(document);
    if (!symbol) {
        EXPECT_NE(document.find("\\'"), std::string::npos) << "bytes of a code page, not \\u";
        EXPECT_EQ(expected, held) << "document:\n" << document;
    }
    const auto read = bv::note::plainText(document);
    ASSERT_TRUE(read.has_value()) << "document:\n" << document;
    EXPECT_EQ(normalised(*read), expected) << "document:\n" << document;
}

TEST(NoteScripts, WeReadWhatRichEditSavesInFontsOfEachScript) {
    std::vector<Piece> everyScript{{"Selected Image #", nullptr}};
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        expectWeReadWhatRichEditSaves(
            {{"Selected Image # ", nullptr}, {script.sample, &script}, {".bmp", nullptr}});
        everyScript.push_back({" ", nullptr});
        everyScript.push_back({script.sample, &script});
    }
    {
        SCOPED_TRACE("every script in one note");
        expectWeReadWhatRichEditSaves(everyScript);
    }
    SCOPED_TRACE("symbol font");
    expectWeReadWhatRichEditSaves({{"x ", nullptr}, {kSymbol.sample, &kSymbol}});
}

TEST(NoteScripts, WeReadWhatRichEditSavesInDoubleByteScripts) {
    for (const Script& script : kDoubleByteScripts) {
        SCOPED_TRACE(script.name);
        expectWeReadWhatRichEditSaves(
            {{"Selected Image # ", nullptr}, {script.sample, &script}, {".bmp", nullptr}});
    }
}

// What other writers put in fonts, as the rich edit reads it: charset 0 is
// code page 1252 even in a document of another code page, a font without a
// charset (or with an unknown one) is in the system's ANSI code page, \cpg
// wins, an unknown font changes nothing, a symbol font's bytes (ASCII too)
// are its private-use characters, double-byte characters keep a trail byte
// written as plain text, and destinations without their star stay hidden.
TEST(NoteScripts, WeReadDocumentsOfOtherWritersAsRichEditDoes) {
    const char* const documents[] = {
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset222 Tahoma;}}\\f1 \\'e0 \xe0{\\f0 \\'e0}\\'e0\\uc1\\u3648\\'e0}",
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset204 Arial;}}\\'e0\\f1\\'e0{\\f0\\'e0}\\'e0}",
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1\\fnil A;}{\\f2\\fcharset1 B;}"
        "{\\f3\\fcharset99 C;}{\\f4\\fcharset77 D;}{\\f5\\fcharset222\\cpg1251 E;}}"
        "\\'e0\\f1\\'e0\\f2\\'e0\\f3\\'e0\\f4\\'e0\\f5\\'e0\\f9\\'e0}",
        "{\\rtf1\\ansi\\ansicpg1252\\deff1{\\fonttbl\\f0\\fcharset0 A;\\f1\\fcharset204 B;}\\'e0}",
        "{\\rtf1\\ansi{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}\\f1 a\\'b7\\{\\\\\\tab\\u8226?}",
        "{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset128 MS Gothic;}{\\f2\\fcharset136 MingLiU;}}"
        "\\f1\\'95\\\\\\'81@\\'82{\\'a0}\\f2\\'a4@\\uc2\\u21151\\'a5\\'5c}",
        "{\\rtf1\\ansi\\ansicpg65001{\\fonttbl{\\f0\\fcharset204 A;}}\\f0 \xc3\xa0}",
        "{\\rtf1\\ansi{*\\generator Riched20 10.0;}{\\bkmkstart b}{\\nonesttables n}x}",
    };
    for (const char* document : documents) {
        const auto read = bv::note::plainText(document);
        ASSERT_TRUE(read.has_value()) << document;
        EXPECT_EQ(normalised(*read), platformReading(document)) << document;
    }
}

// Note files on a real drive C:, as the programs use them.
class NoteFiles : public testing::Test {
  protected:
    static constexpr const wchar_t* kFolder = L"C:\\bv-interop";
    static constexpr const char* kNote = "C:\\bv-interop\\wall3.note";
    static constexpr const wchar_t* kNoteW = L"C:\\bv-interop\\wall3.note";

    void SetUp() override { CreateDirectoryW(kFolder, nullptr); }
    void TearDown() override {
        DeleteFileW(kNoteW);
        RemoveDirectoryW(kFolder);
    }
};

TEST_F(NoteFiles, RichEditLoadsTheFileWeWrite) {
    const std::string caption = "Selected Image # my{pic}\\été.bmp";
    bv::note::writeNote(kNote, caption);
    RichEdit edit;
    ASSERT_TRUE(edit.streamIn(readWholeFile(kNoteW)));
    EXPECT_EQ(normalised(narrow(edit.text())), caption);
    EXPECT_EQ(bv::note::readNote(kNote), caption);
}

TEST_F(NoteFiles, WritingReplacesTheEarlierFile) {
    bv::note::writeNote(kNote,
                        "a rather long first value that the second one must not leave behind");
    bv::note::writeNote(kNote, "4500");
    RichEdit edit;
    ASSERT_TRUE(edit.streamIn(readWholeFile(kNoteW)));
    EXPECT_EQ(normalised(narrow(edit.text())), "4500");
    EXPECT_EQ(bv::note::readNote(kNote), "4500");
    EXPECT_EQ(folderContents(kFolder), std::vector<std::wstring>{L"wall3.note"})
        << "no temporary file left behind";
}

TEST_F(NoteFiles, WeReadTheFileRichEditSaves) {
    for (const wchar_t* caption :
         {L"Selected Image # my{pic}\\été.bmp", L"Selected Image # Ελληνικά 桜.bmp"}) {
        RichEdit edit;
        edit.setText(caption);
        const std::string document = edit.streamOut();
        ASSERT_TRUE(writeWholeFile(kNoteW, document));
        EXPECT_EQ(bv::note::readNote(kNote), platformReading(document));
        EXPECT_EQ(bv::note::readNote(kNote), narrow(caption));
    }
}

TEST_F(NoteFiles, MissingFolderOrFileIsAFailure) {
    EXPECT_THROW(bv::note::writeNote("C:\\bv-interop\\missing\\speed.note", "1000"), bv::Failure);
    EXPECT_EQ(GetFileAttributesW(L"C:\\bv-interop\\missing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_THROW(bv::note::readNote(kNote), bv::Failure);
}

}  // namespace
