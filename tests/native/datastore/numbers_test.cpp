#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "datastore/failure.h"
#include "datastore/numbers.h"

namespace {

using bv::Failure;
using bv::num::decimal;
using bv::num::leadingInteger;
using bv::num::leadingNumber;
using bv::num::roundHalfEven;
using bv::num::toSingle;

TEST(SpeedReading, TakesTheLeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(leadingInteger("2500"), 2500);
    EXPECT_EQ(leadingInteger("750 ms"), 750);
    EXPECT_EQ(leadingInteger("2.5"), 2);
    EXPECT_EQ(leadingInteger("3.5"), 4);
    EXPECT_EQ(leadingInteger("2500.5"), 2500);
    EXPECT_EQ(leadingInteger("2501.5"), 2502);
    EXPECT_EQ(leadingInteger("-2.5"), -2);
    EXPECT_EQ(leadingInteger("-3.5"), -4);
    EXPECT_EQ(leadingInteger("2.51"), 3);
}

TEST(SpeedReading, TextWithoutNumberReadsAsZero) {
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("RichTextBox1"), 0);
    EXPECT_EQ(leadingInteger("ms 750"), 0);
    EXPECT_EQ(leadingInteger("."), 0);
    EXPECT_EQ(leadingInteger("-"), 0);
    EXPECT_EQ(leadingInteger("+-5"), 0);
}

TEST(SpeedReading, BlanksTabsAndLineFeedsAreIgnoredAnywhere) {
    EXPECT_EQ(leadingInteger(" 2 5 0 0 "), 2500);
    EXPECT_EQ(leadingInteger("\t1\t000"), 1000);
    EXPECT_EQ(leadingInteger("30\n00"), 3000);
    EXPECT_EQ(leadingInteger("3000\r\n"), 3000);
    // A carriage return is no blank: a second paragraph is not read on.
    EXPECT_EQ(leadingInteger("25\r\n00"), 25);
    EXPECT_EQ(leadingInteger("- 12"), -12);
    EXPECT_EQ(leadingInteger("1 e 3"), 1000);
}

TEST(SpeedReading, ReadsSignPointAndExponent) {
    EXPECT_DOUBLE_EQ(leadingNumber("+12.25xyz"), 12.25);
    EXPECT_DOUBLE_EQ(leadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("5."), 5.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1.5.5"), 1.5);
    EXPECT_DOUBLE_EQ(leadingNumber("2e3"), 2000.0);
    EXPECT_DOUBLE_EQ(leadingNumber("2D3"), 2000.0);
    EXPECT_DOUBLE_EQ(leadingNumber("25E-1"), 2.5);
    EXPECT_DOUBLE_EQ(leadingNumber("1e"), 1.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1ex"), 1.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1e-400"), 0.0);
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
    EXPECT_TRUE(std::isinf(leadingNumber("-" + std::string(400, '9'))));
}

// Only decimal digits make a number: what a C library's own reading would
// also take (hex, "inf", "nan") reads as the zero before it or as nothing.
TEST(SpeedReading, HexInfinityAndNanAreNoNumbers) {
    EXPECT_EQ(leadingNumber("0x10"), 0.0);
    EXPECT_EQ(leadingNumber("0X1p4"), 0.0);
    EXPECT_EQ(leadingNumber("  0x10"), 0.0);
    EXPECT_EQ(leadingNumber("inf"), 0.0);
    EXPECT_EQ(leadingNumber("-infinity"), 0.0);
    EXPECT_EQ(leadingNumber("nan"), 0.0);
    EXPECT_EQ(leadingNumber("NAN(1)"), 0.0);
    EXPECT_EQ(leadingNumber("1x10"), 1.0);
    EXPECT_EQ(leadingNumber("\t\n 12.5e1"), 125.0);
    EXPECT_EQ(leadingNumber("\v12"), 0.0);
    EXPECT_EQ(leadingNumber("\f12"), 0.0);
}

TEST(SpeedReading, PointAndExponentKeepTheirPlaceOverLongDigitRuns) {
    EXPECT_EQ(leadingNumber("0." + std::string(500, '0') + "1e502"), 10.0);
    EXPECT_EQ(leadingNumber("1" + std::string(400, '0') + "e-400"), 1.0);
    EXPECT_EQ(leadingNumber("123.456e-1"), 12.3456);
    EXPECT_EQ(leadingNumber("0.1"), 0.1);
    EXPECT_EQ(leadingNumber("1e-99999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber("0e99999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);
}

TEST(SpeedReading, NumbersBeyondThirtyTwoBitsOverflow) {
    EXPECT_EQ(leadingInteger("2147483647"), 2147483647);
    EXPECT_EQ(leadingInteger("-2147483648.5"), std::numeric_limits<std::int32_t>::min());
    EXPECT_THROW(leadingInteger("2147483647.5"), Failure);
    EXPECT_THROW(leadingInteger("99999999999"), Failure);
    EXPECT_THROW(leadingInteger("-2147483649"), Failure);
    EXPECT_THROW(leadingInteger("1e400"), Failure);
    EXPECT_THROW(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), Failure);
    try {
        leadingInteger("5000000000");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "Overflow");
    }
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
    for (const char* text : {"12ab", "", "   ", "abc", "1 2", "1e", "--1", "1.2.3", ".", "-",
                             "12\r\n", "RichTextBox2"}) {
        try {
            toSingle(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), "Type mismatch") << text;
        }
    }
}

TEST(PositionReading, RefusesHexInfinityNanAndOtherBlanks) {
    for (const char* text : {"0x10", " 0x10", "0X1p4", "inf", "-inf", "infinity", "nan", "NAN",
                             "\v12", "12\f", "\n12", "1,5"}) {
        try {
            toSingle(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), "Type mismatch") << text;
        }
    }
    EXPECT_EQ(toSingle("  \t 1.25e2\t  "), 125.0f);
}

TEST(PositionReading, ValuesBeyondSinglePrecisionOverflow) {
    EXPECT_FLOAT_EQ(toSingle("3.4e38"), 3.4e38f);
    EXPECT_FLOAT_EQ(toSingle("1e-50"), 0.0f);
    for (const char* text : {"3.5e38", "-1e39", "1e99999999999999999999"}) {
        try {
            toSingle(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), "Overflow") << text;
        }
    }
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
