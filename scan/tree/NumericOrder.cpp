#include "scan/tree/NumericOrder.h"

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
    return a.substr(startA, lenA).compare(b.substr(startB, lenB));
}

}  // namespace

int compareNumeric(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
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

}  // namespace korvex
