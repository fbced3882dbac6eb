#include "scan/format/SizeFormatter.h"

#include "scan/format/FileSizeLocalizable.h"

#include <array>
#include <charconv>

namespace korvex {

namespace {

namespace L = FileSizeLocalizable;

const platform::TextEntry* const kUnits[] = {&L::bLabel,  &L::KBLabel, &L::MBLabel,
                                             &L::GBLabel, &L::TBLabel, &L::PBLabel};
constexpr int kPB = 5;

std::string unitText(int unit) {
    return unit >= 0 && unit <= kPB ? L::text(*kUnits[unit]) : std::string();
}

// Fixed-point text with one digit, rounded like printf's %.1f but never localised.
std::string oneDecimal(double value) {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, 1);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string formatMemoryStringDot1(std::uint64_t bytes) {
    if (bytes < 1000) {
        return std::to_string(bytes) + " " + unitText(0);
    }
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1000) {
        value /= 1000;
        ++unit;
    }
    std::string number = oneDecimal(value);
    if (number.ends_with(".0")) {
        number.resize(number.size() - 2);
    }
    return number + " " + unitText(unit);
}

std::string sizeString(std::int64_t bytes) {
    return formatMemoryStringDot1(bytes < 0 ? 0 : static_cast<std::uint64_t>(bytes));
}

std::string signedSizeString(std::int64_t bytes) {
    return (bytes < 0 ? "-" : "+") + sizeString(bytes < 0 ? -bytes : bytes);
}

}  // namespace korvex
