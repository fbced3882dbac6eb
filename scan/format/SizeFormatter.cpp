#include "scan/format/SizeFormatter.h"

#include "scan/format/FileSizeLocalizable.h"

#include <array>
#include <charconv>

namespace korvex {

namespace {

namespace L = FileSizeLocalizable;

const platform::TextEntry* const kUnits[] = {&L::bLabel,  &L::KBLabel, &L::MBLabel,
                                             &L::GBLabel, &L::TBLabel, &L::PBLabel};
constexpr int kTB = 4;
constexpr int kPB = 5;

std::string unitText(int unit) {
    return unit >= 0 && unit <= kPB ? L::text(*kUnits[unit]) : std::string();
}

// Fixed-point text with `decimals` digits, rounded like printf's %.Nf but
// never localised.
std::string fixed(double value, int decimals) {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

std::string withUnit(std::string number, int unit) {
    return number + " " + unitText(unit);
}

std::string wholeBytes(std::uint64_t bytes, const std::string& label) {
    return std::to_string(bytes) + " " + label;
}

}  // namespace

std::string formatMemoryStringDot1(std::uint64_t bytes) {
    if (bytes < 1000) {
        return wholeBytes(bytes, unitText(0));
    }
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1000) {
        value /= 1000;
        ++unit;
    }
    std::string number = fixed(value, 1);
    if (number.size() > 2 && number.ends_with(".0")) {
        number.resize(number.size() - 2);  // at least 0 fraction digits
    }
    return withUnit(number, unit);
}

namespace {

// Short and power-of-two styles: the same steps, with a different divisor;
// the unit changes when the value reaches 1000 either way.
std::string shortStyle(std::uint64_t bytes, double divisor) {
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1000 && unit < kTB) {
        value /= divisor;
        ++unit;
    }
    int decimals = value < 10 ? 2 : (value < 100 ? 1 : 0);
    return withUnit(fixed(value, decimals), unit);
}

}  // namespace

std::string Utilmod::stringFromFileSizeShort1(std::uint64_t bytes) {
    if (bytes == 0) {
        return L::text(L::zeroKBLabel);
    }
    if (bytes < 1000) {
        return wholeBytes(bytes, L::text(L::bytesWordLabel));
    }
    return shortStyle(bytes, 1000.0);
}

std::string stringFromSize(std::uint64_t bytes) {
    if (bytes < 1000) {
        return wholeBytes(bytes, L::text(L::bytesWordLabel));
    }
    return shortStyle(bytes, 1024.0);
}

}  // namespace korvex
