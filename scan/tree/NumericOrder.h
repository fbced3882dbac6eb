#pragma once

#include <string_view>

namespace korvex {

// Compares names byte by byte, except that runs of digits compare by their
// numeric value, so "b2" sorts before "b10". Names that differ only in leading
// zeros fall back to plain byte order, which keeps the order total.
// Answers <0, 0 or >0.
int compareNumeric(std::string_view a, std::string_view b);

}  // namespace korvex
