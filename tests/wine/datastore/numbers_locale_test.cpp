// The number rules under the Windows C library, whose reading of numbers
// follows the locale a program may have set.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "datastore/failure.h"
#include "datastore/numbers.h"

namespace {

using bv::num::leadingNumber;
using bv::num::toSingle;

class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  private:
    std::string saved_;
};

TEST_F(CommaLocale, PointStaysTheDecimalMark) {
    EXPECT_EQ(leadingNumber("12.25"), 12.25);
    EXPECT_EQ(leadingNumber("-.5e1"), -5.0);
    EXPECT_EQ(leadingNumber("1,5"), 1.0);
    EXPECT_EQ(toSingle(" 2.5 "), 2.5f);
    EXPECT_THROW(toSingle("2,5"), bv::Failure);
}

TEST(NumbersUnderTheWindowsLibrary, HexInfinityAndNanAreNoNumbers) {
    EXPECT_EQ(leadingNumber("0x10"), 0.0);
    EXPECT_EQ(leadingNumber("inf"), 0.0);
    EXPECT_EQ(leadingNumber("nan"), 0.0);
    EXPECT_EQ(leadingNumber("0.1"), 0.1);
    EXPECT_EQ(toSingle("0.1"), 0.1f);
    EXPECT_EQ(leadingNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);
    EXPECT_THROW(toSingle("1e39"), bv::Failure);
}

}  // namespace
