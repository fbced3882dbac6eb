#include "scan/format/SizeFormatter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>

namespace korvex {
namespace {

TEST(SizeText, DecimalUnitsWithAtMostOneDecimal) {
    EXPECT_EQ(formatMemoryStringDot1(0), "0 B");
    EXPECT_EQ(formatMemoryStringDot1(999), "999 B");
    EXPECT_EQ(formatMemoryStringDot1(1000), "1 kB");
    EXPECT_EQ(formatMemoryStringDot1(1'500'000), "1.5 MB");
    EXPECT_EQ(formatMemoryStringDot1(2'000'000), "2 MB");
    EXPECT_EQ(formatMemoryStringDot1(999'999), "1000 kB");   // rounds up but stays in kB
    EXPECT_EQ(formatMemoryStringDot1(1'250'000), "1.2 MB");  // ties go to even
    EXPECT_EQ(formatMemoryStringDot1(1'234'567'890'123), "1.2 TB");
    EXPECT_EQ(formatMemoryStringDot1(999'000'000'000'000'000), "999 PB");
    // From 1000 PB on there is no unit label.
    EXPECT_EQ(formatMemoryStringDot1(UINT64_MAX), "18.4 ");
}

TEST(SizeText, BinaryRoundNumbersAreNotShownAsRoundDecimalOnes) {
    // A 1 GiB file is 1.07 GB; the old lists' 1024 steps called it "1.00 GB".
    EXPECT_EQ(formatMemoryStringDot1(1'073'741'824), "1.1 GB");
    EXPECT_EQ(formatMemoryStringDot1(4096), "4.1 kB");
}

TEST(SizeText, NegativeAmountsShowAsNothing) {
    EXPECT_EQ(sizeString(-5), "0 B");
    EXPECT_EQ(sizeString(4096), formatMemoryStringDot1(4096));
}

// tools/dev.sh generates the locale before it runs the tests.
constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Switches both the C and the C++ global locale for the test's length.
class UnderCommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* previous = std::setlocale(LC_ALL, nullptr);
        mSavedC = previous != nullptr ? previous : "C";
        ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr)
            << kCommaLocale << " is not installed: run tools/dev.sh test, which generates it";
        mSavedCpp = std::locale::global(std::locale(kCommaLocale));
        mSwitched = true;
    }
    void TearDown() override {
        if (mSwitched) {
            std::locale::global(mSavedCpp);
        }
        std::setlocale(LC_ALL, mSavedC.c_str());
    }

  private:
    std::string mSavedC;
    std::locale mSavedCpp;
    bool mSwitched = false;
};

TEST_F(UnderCommaLocale, SizeTextsKeepTheDecimalPoint) {
    // The locale really writes a comma, so a formatter leaning on it would show one.
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    std::ostringstream stream;
    stream << 1.5;
    ASSERT_EQ(stream.str(), "1,5");

    EXPECT_EQ(formatMemoryStringDot1(1'500'000), "1.5 MB");
}

}  // namespace
}  // namespace korvex
