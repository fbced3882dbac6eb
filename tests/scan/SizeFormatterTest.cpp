#include "scan/format/SizeFormatter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
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

TEST(SizeText, DecimalPointWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                 std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
    EXPECT_EQ(formatMemoryStringDot1(1'500'000), "1.5 MB");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!comma) {
        GTEST_SKIP() << "no comma-decimal locale installed; checked under the C locale only";
    }
}

}  // namespace
}  // namespace korvex
