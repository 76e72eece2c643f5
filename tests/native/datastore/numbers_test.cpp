#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

#include "datastore/failure.h"
#include "datastore/numbers.h"
#include "tests/support/failures.h"

namespace {

using bv::Failure;
using bv::num::decimal;
using bv::num::leadingInteger;
using bv::num::leadingNumber;
using bv::num::roundHalfEven;
using bv::num::toSingle;
using bv::testing::failureOf;

// Text, value, text, value...: each text read as its leading integer.
void expectIntegers() {}
template <class... More>
void expectIntegers(const std::string& text, std::int32_t value, const More&... more) {
    EXPECT_EQ(leadingInteger(text), value) << '"' << text << '"';
    expectIntegers(more...);
}

// The same for the leading number: `exact` to the bit, else within four
// units of the last place.
void expectNumbers(bool) {}
template <class... More>
void expectNumbers(bool exact, const std::string& text, double value, const More&... more) {
    if (exact)
        EXPECT_EQ(leadingNumber(text), value) << '"' << text << '"';
    else
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
    expectNumbers(exact, more...);
}
constexpr bool kExact = true, kNear = false;

// Each text refused by `read` with the failure `what`.
template <class Read>
void expectRefused(Read read, std::initializer_list<const char*> texts, const char* what) {
    for (const char* text : texts)
        EXPECT_EQ(failureOf([&] { read(text); }), what) << '"' << text << '"';
}

TEST(SpeedReading, TakesTheLeadingNumberRoundedHalfToEven) {
    expectIntegers("2500", 2500, "750 ms", 750, "2.5", 2, "3.5", 4, "2500.5", 2500, "2501.5", 2502,
                   "-2.5", -2, "-3.5", -4, "2.51", 3);
}

TEST(SpeedReading, TextWithoutNumberReadsAsZero) {
    expectIntegers("", 0, "RichTextBox1", 0, "ms 750", 0, ".", 0, "-", 0, "+-5", 0);
}

TEST(SpeedReading, BlanksTabsAndLineFeedsAreIgnoredAnywhere) {
    // A carriage return is no blank: a second paragraph is not read on.
    expectIntegers(" 2 5 0 0 ", 2500, "\t1\t000", 1000, "30\n00", 3000, "3000\r\n", 3000,
                   "25\r\n00", 25, "- 12", -12, "1 e 3", 1000);
}

TEST(SpeedReading, ReadsSignPointAndExponent) {
    expectNumbers(kNear, "+12.25xyz", 12.25, ".5", 0.5, "5.", 5.0, "1.5.5", 1.5, "2e3", 2000.0,
                  "2D3", 2000.0, "25E-1", 2.5, "1e", 1.0, "1e+", 1.0, "1ex", 1.0, "1e-400", 0.0);
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
    EXPECT_TRUE(std::isinf(leadingNumber("-" + std::string(400, '9'))));
}

// Only decimal digits make a number: what a C library's own reading would
// also take (hex, "inf", "nan") reads as the zero before it or as nothing.
TEST(SpeedReading, HexInfinityAndNanAreNoNumbers) {
    expectNumbers(kExact, "0x10", 0.0, "0X1p4", 0.0, "  0x10", 0.0, "inf", 0.0, "-infinity", 0.0,
                  "nan", 0.0, "NAN(1)", 0.0, "1x10", 1.0, "\t\n 12.5e1", 125.0, "\v12", 0.0, "\f12",
                  0.0);
}

TEST(SpeedReading, PointAndExponentKeepTheirPlaceOverLongDigitRuns) {
    expectNumbers(kExact, "0." + std::string(500, '0') + "1e502", 10.0,
                  "1" + std::string(400, '0') + "e-400", 1.0, "123.456e-1", 12.3456, "0.1", 0.1,
                  "1e-99999999999999999999", 0.0, "0e99999999999999999999", 0.0,
                  "4.9406564584124654e-324", 4.9406564584124654e-324);
}

TEST(SpeedReading, NumbersBeyondThirtyTwoBitsOverflow) {
    expectIntegers("2147483647", 2147483647, "-2147483648.5",
                   std::numeric_limits<std::int32_t>::min());
    EXPECT_THROW(leadingInteger("2147483647.5"), Failure);
    EXPECT_THROW(leadingInteger("99999999999"), Failure);
    EXPECT_THROW(leadingInteger("-2147483649"), Failure);
    EXPECT_THROW(leadingInteger("1e400"), Failure);
    EXPECT_THROW(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), Failure);
    expectRefused(leadingInteger, {"5000000000"}, "Overflow");
}

TEST(PositionReading, AcceptsWholeNumbersWithSurroundingBlanks) {
    EXPECT_FLOAT_EQ(toSingle("1200"), 1200.0f);
    EXPECT_FLOAT_EQ(toSingle(" 9000 "), 9000.0f);
    EXPECT_FLOAT_EQ(toSingle("\t-1.5e3\t"), -1500.0f);
    EXPECT_FLOAT_EQ(toSingle("+.25"), 0.25f);
    EXPECT_FLOAT_EQ(toSingle("7."), 7.0f);
    EXPECT_FLOAT_EQ(toSingle("0.1"), 0.1f);
}

TEST(PositionReading, RefusesAnythingThatIsNotWhollyANumber) {
    expectRefused(
        toSingle,
        {"12ab", "", "   ", "abc", "1 2", "1e", "--1", "1.2.3", ".", "-", "12\r\n", "RichTextBox2"},
        "Type mismatch");
}

TEST(PositionReading, RefusesHexInfinityNanAndOtherBlanks) {
    expectRefused(toSingle,
                  {"0x10", " 0x10", "0X1p4", "inf", "-inf", "infinity", "nan", "NAN", "\v12",
                   "12\f", "\n12", "1,5"},
                  "Type mismatch");
    EXPECT_EQ(toSingle("  \t 1.25e2\t  "), 125.0f);
}

TEST(PositionReading, ValuesBeyondSinglePrecisionOverflow) {
    EXPECT_FLOAT_EQ(toSingle("3.4e38"), 3.4e38f);
    EXPECT_FLOAT_EQ(toSingle("1e-50"), 0.0f);
    expectRefused(toSingle, {"3.5e38", "-1e39", "1e99999999999999999999"}, "Overflow");
}

TEST(Decimal, WritesDigitsWithMinusOnly) {
    EXPECT_EQ(decimal(0), "0");
    EXPECT_EQ(decimal(1000), "1000");
    EXPECT_EQ(decimal(-15), "-15");
    EXPECT_EQ(decimal(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    for (std::int32_t value : {1000, 2500, 10000, -7, 2147483647}) {
        EXPECT_EQ(leadingInteger(decimal(value)), value);
        EXPECT_EQ(toSingle(decimal(value)), static_cast<float>(value));
    }
}

}  // namespace
