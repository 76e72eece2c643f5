// Feeds arbitrary bytes to the note reader and checks what must always hold:
// no crash, valid UTF-8 out, any text it reads survives being written as a
// note and read again (line breaks come back as CR LF), and the text's speed
// and position readings agree with each other and with what a writer saves.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/failure.h"
#include "datastore/note.h"
#include "datastore/numbers.h"
#include "datastore/text.h"

namespace {

[[noreturn]] void die(const char* what, std::string_view input) {
    std::fprintf(stderr, "note_reader_fuzz: %s; input of %zu bytes:\n", what, input.size());
    std::fwrite(input.data(), 1, std::min<std::size_t>(input.size(), 2000), stderr);
    std::fputc('\n', stderr);
    std::abort();
}

std::string withCrLfBreaks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The speed and position rules on a note's text, as the agent applies them.
void checkNumbers(std::string_view text, std::string_view input) {
    const double leading = bv::num::leadingNumber(text);
    if (std::isnan(leading))
        die("leading number is NaN", input);
    std::optional<std::int32_t> speed;
    try {
        speed = bv::num::leadingInteger(text);
    } catch (const bv::Failure&) {
        if (std::isfinite(leading) && std::fabs(leading) < 2147483647.0)
            die("a speed within 32 bits was refused", input);
    }
    if (speed) {
        // What the tool saves for this speed reads back as the same speed.
        std::optional<std::string> saved =
            bv::note::plainText(bv::note::toRtf(bv::num::decimal(*speed)));
        if (!saved || bv::num::leadingInteger(*saved) != *speed ||
            bv::num::toSingle(*saved) != static_cast<float>(*speed))
            die("a written speed did not read back", input);
    }
    try {
        // A text that is a number as a whole begins with that same number.
        const float position = bv::num::toSingle(text);
        const float again = static_cast<float>(leading);
        if (!std::isfinite(position) ||
            std::fabs(position - again) > 1e-6f * std::fabs(position) + 1e-37f)
            die("position and leading number disagree", input);
    } catch (const bv::Failure&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (std::optional<std::string> text = bv::note::plainText(input)) {
        if (!bv::text::isValidUtf8(*text))
            die("reader gave invalid UTF-8", input);
        std::optional<std::string> again = bv::note::plainText(bv::note::toRtf(*text));
        if (!again || *again != withCrLfBreaks(*text))
            die("a written note did not read back as its text", input);
        checkNumbers(*text, input);
    }
    return 0;
}

#ifndef BV_LIBFUZZER
#include "tests/native/support/xorshift.h"

namespace {

using bv::testing::XorShift;

const std::vector<std::string> kSeeds = {
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
    "Serif;}}\r\n\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs17 2500\r\n\\par }\r\n",
    "{\\rtf1 caf\\'e9 \\u26085?\\u-10179?\\u-8704? {\\b bold}\\tab x\\par y}",
    "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}{\\*\\generator g;}{\\info{\\title t}}body}",
    "{\\rtf1\\uc2 \\u8364\\'80\\'81z{\\uc0\\u65 }\\bin3 {}\\~\\-\\_\\emdash\\line}",
    "{\\rtf1{\\pict\\wmetafile8 0a0b}{\\field{\\*\\fldinst x}{\\fldrslt shown}}\\\r\nend",
    "{\\rtf1\\ansicpg932 \\'82\\'a0 {\\stylesheet{\\s1 h;}}\\'zz\\u-1 \\u99999999999 }",
    "{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset128\\cpg932 J;}\\f2\\fcharset2 S;}"
    "\\f1\\'82\\\\a\\'81{\\'40\\f2 b\\'b7}\\f9\\'e0{*\\generator g}}",
    "plain text\r\nsecond line\n",
    "\xff\xfe\x00{}\\",
};

// clang-format off
const std::vector<std::string> kTokens = {
    "{",   "}",         "\\",    "\\'",        "\\'e9",     "\\u",       "\\uc",  "\\uc0", "\\bin",
    "\\*", "\\par",     "\\u-",  "-",          "9",         "65535",     "\\tab", " ",     "\r\n",
    "?",   "\\fonttbl", "\\'ff", "\\u-10179?", "\\u-8704?", "\\ansicpg", "\xC3",  "\x00",
    "\\f1", "\\fcharset2", "\\fcharset128", "\\cpg", "\\deff"};
// clang-format on

std::string mutate(XorShift& random) {
    std::string input = kSeeds[random.below(kSeeds.size())];
    std::size_t steps = 1 + random.below(8);
    for (std::size_t step = 0; step < steps; ++step) {
        std::size_t at = random.below(input.size() + 1);
        switch (random.below(7)) {
            case 0:
                if (at < input.size())
                    input[at] = static_cast<char>(random.next());
                break;
            case 1:
                input.insert(at, 1, static_cast<char>(random.next()));
                break;
            case 2: {
                const std::string& token = kTokens[random.below(kTokens.size())];
                input.insert(at, token.empty() ? std::string(1, '\0') : token);
                break;
            }
            case 3:
                input.erase(at, random.below(16));
                break;
            case 4:
                input.insert(at, input.substr(random.below(input.size()), random.below(32)));
                break;
            case 5:
                input.resize(at);
                break;
            default: {
                // Now and then a large input: one piece repeated many times.
                std::string piece = input.substr(at, 1 + random.below(12));
                std::size_t times = 1 + random.below(400);
                std::string repeated;
                for (std::size_t i = 0; i < times; ++i)
                    repeated += piece;
                input.insert(at, repeated);
                break;
            }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    const auto budget = std::chrono::seconds(20);
    const auto start = std::chrono::steady_clock::now();
    XorShift random;
    long done = 0;
    for (; done < count; ++done) {
        std::string input = mutate(random);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        if (std::chrono::steady_clock::now() - start > budget)
            break;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("note_reader_fuzz: %ld inputs in %.2f s, no fault\n", done, seconds);
    return 0;
}
#endif
