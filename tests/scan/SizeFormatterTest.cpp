#include "scan/format/SizeFormatter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>

namespace korvex {
namespace {

TEST(SizeGeneralStyle, ThresholdsAndTrailingZeros) {
    EXPECT_EQ(formatMemoryStringDot1(0), "0 B");
    EXPECT_EQ(formatMemoryStringDot1(999), "999 B");
    EXPECT_EQ(formatMemoryStringDot1(1000), "1 KB");
    EXPECT_EQ(formatMemoryStringDot1(1'500'000), "1.5 MB");
    EXPECT_EQ(formatMemoryStringDot1(2'000'000), "2 MB");
    EXPECT_EQ(formatMemoryStringDot1(999'999), "1000 KB");  // rounds up but stays in KB
    EXPECT_EQ(formatMemoryStringDot1(1'234'567'890'123), "1.2 TB");
    EXPECT_EQ(convertToStringFromFileSize(1'250'000), "1.2 MB");  // ties go to even
    EXPECT_EQ(formatMemoryStringDot1(999'000'000'000'000'000), "999 PB");
    // From 1000 PB on there is no unit label.
    EXPECT_EQ(formatMemoryStringDot1(UINT64_MAX), "18.4 ");
}

TEST(SizeCompactStyle, OneDecimalOnlyForSmallValues) {
    EXPECT_EQ(formatMemoryStringDot0(0), "Zero Bytes");
    EXPECT_EQ(formatMemoryStringDot0(999), "999 B");
    EXPECT_EQ(formatMemoryStringDot0(1'000), "1 KB");
    EXPECT_EQ(formatMemoryStringDot0(1'500), "1.5 KB");
    EXPECT_EQ(formatMemoryStringDot0(1'960), "2 KB");
    EXPECT_EQ(formatMemoryStringDot0(1'040), "1 KB");
    EXPECT_EQ(formatMemoryStringDot0(15'500), "16 KB");
    EXPECT_EQ(formatMemoryStringDot0(999'999), "1000 KB");
    EXPECT_EQ(formatMemoryStringDot0(2'500'000'000'000'000'000ULL), "2500 PB");
}

TEST(SizeShortStyle, DecimalsShrinkAsValuesGrow) {
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(0), "Zero KB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(1), "1 bytes");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(999), "999 bytes");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(5'000), "5.00 KB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(50'000), "50.0 KB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(500'000), "500 KB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(999'999), "1000 KB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(3'000'000'000'000'000ULL), "3000 TB");
}

TEST(SizePowerOfTwoStyle, StepsBy1024SwitchesAt1000) {
    EXPECT_EQ(stringFromSize(0), "0 bytes");
    EXPECT_EQ(stringFromSize(999), "999 bytes");
    EXPECT_EQ(stringFromSize(1'000), "0.98 KB");
    EXPECT_EQ(stringFromSize(2'048), "2.00 KB");
    EXPECT_EQ(SizeToStringConverter::stringFromSize(1'048'576), "1.00 MB");
    EXPECT_EQ(stringFromSize(1'023'999), "1000 KB");
}

TEST(SizeStyles, DecimalPointWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                  std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
    EXPECT_EQ(formatMemoryStringDot1(1'500'000), "1.5 MB");
    EXPECT_EQ(Utilmod::stringFromFileSizeShort1(5'000), "5.00 KB");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!german) {
        GTEST_SKIP() << "no comma-decimal locale installed; checked under the C locale only";
    }
}

TEST(SizeStyles, ByteCountLabel) {
    EXPECT_EQ(bytesAmountLabelWithAmount(42), "42 bytes");
}

}  // namespace
}  // namespace korvex
