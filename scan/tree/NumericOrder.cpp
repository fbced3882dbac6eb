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

}  // namespace korvex
