#include "scan/tree/NumericOrder.h"

#include <algorithm>
#include <cstddef>

namespace korvex {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Compares the digit runs starting at a[i] and b[j] by value and advances both
// indices past them.
int compareDigitRuns(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j) {
    while (i < a.size() && a[i] == '0') {
        ++i;
    }
    while (j < b.size() && b[j] == '0') {
        ++j;
    }
    std::size_t startA = i;
    std::size_t startB = j;
    while (i < a.size() && isDigit(a[i])) {
        ++i;
    }
    while (j < b.size() && isDigit(b[j])) {
        ++j;
    }
    std::size_t lenA = i - startA;
    std::size_t lenB = j - startB;
    if (lenA != lenB) {
        return lenA < lenB ? -1 : 1;
    }
    // Runs are a few digits: a loop beats a call to memcmp.
    for (std::size_t k = 0; k < lenA; ++k) {
        if (a[startA + k] != b[startB + k]) {
            return a[startA + k] < b[startB + k] ? -1 : 1;
        }
    }
    return 0;
}

// The numeric comparison from index `start`, where both names stand at the
// same place after equal text.
int compareNumericFrom(std::string_view a, std::string_view b, std::size_t start) {
    std::size_t i = start;
    std::size_t j = start;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            int runs = compareDigitRuns(a, i, b, j);
            if (runs != 0) {
                return runs;
            }
            continue;
        }
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[j]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    if (j < b.size()) {
        return -1;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

int compareNumeric(std::string_view a, std::string_view b) {
    // Sorting compares names of one folder, which mostly differ a few bytes
    // in: up to the first differing byte they read alike, and unless digits
    // meet there, that byte decides as it would in plain byte order.
    const std::size_t common = std::min(a.size(), b.size());
    const std::size_t at = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(common), b.begin()).first -
        a.begin());
    if (at == a.size() && at == b.size()) {
        return 0;
    }
    const bool digitBefore = at > 0 && isDigit(a[at - 1]);
    const bool digitsAt = at < common && isDigit(a[at]) && isDigit(b[at]);
    if (!digitBefore && !digitsAt) {
        if (at == common) {
            return at == a.size() ? -1 : 1;
        }
        return static_cast<unsigned char>(a[at]) < static_cast<unsigned char>(b[at]) ? -1 : 1;
    }
    // Digits decide: compare from the start of their run.
    std::size_t start = at;
    while (start > 0 && isDigit(a[start - 1])) {
        --start;
    }
    return compareNumericFrom(a, b, start);
}

std::uint64_t numericOrderKey(std::string_view name) {
    // The first eight bytes of the name rewritten so that plain byte order is
    // numeric order: each digit run becomes a digit-like mark, the run's length
    // without leading zeros and its digits. The mark sorts against other bytes
    // as any digit does; a shorter run is the smaller number. Unused bytes are
    // zero, below any byte of a name, so a name sorts before its extensions.
    constexpr unsigned kBytes = 8;
    constexpr char kDigitMark = '0';
    constexpr unsigned kLongestRun = 0xFF;
    std::uint64_t key = 0;
    unsigned used = 0;
    auto put = [&](unsigned char byte) {
        if (used < kBytes) {
            key |= std::uint64_t{byte} << (8 * (kBytes - 1 - used));
            ++used;
        }
    };
    for (std::size_t i = 0; i < name.size() && used < kBytes;) {
        if (!isDigit(name[i])) {
            put(static_cast<unsigned char>(name[i++]));
            continue;
        }
        while (i < name.size() && name[i] == '0') {
            ++i;
        }
        const std::size_t start = i;
        while (i < name.size() && isDigit(name[i])) {
            ++i;
        }
        put(static_cast<unsigned char>(kDigitMark));
        if (i - start >= kLongestRun) {
            // Runs this long compare by their length only up to here: the
            // rest is the same for all of them, and compareNumeric() decides.
            while (used < kBytes) {
                put(0xFF);
            }
            break;
        }
        put(static_cast<unsigned char>(i - start));
        for (std::size_t k = start; k < i; ++k) {
            put(static_cast<unsigned char>(name[k]));
        }
    }
    return key;
}

}  // namespace korvex
