#pragma once

#include <cstdint>
#include <string_view>

namespace korvex {

// Compares names byte by byte, except that runs of digits compare by their
// numeric value, so "b2" sorts before "b10". Names that differ only in leading
// zeros fall back to plain byte order, which keeps the order total.
// Answers <0, 0 or >0.
int compareNumeric(std::string_view a, std::string_view b);

// A number that orders names as compareNumeric() does wherever two names'
// numbers differ; equal numbers leave the order to compareNumeric(). Sorting
// a folder compares names many times over, and most pairs part within their
// first few bytes: built once per name, this decides them in one comparison.
std::uint64_t numericOrderKey(std::string_view name);

}  // namespace korvex
