#pragma once

#include <cstdint>
#include <string>

namespace korvex {

// The one size text of the interface, the same for a node wherever it is
// shown: decimal units (1 kB = 1000 B), at most one decimal, and always a
// decimal point whatever the locale: "999 B", "1 kB", "1.5 MB".
std::string formatMemoryStringDot1(std::uint64_t bytes);
// The same for a signed amount; anything below zero shows as "0 B".
std::string sizeString(std::int64_t bytes);
// A change in size with its sign: "+2.2 GB", "-512 KB".
std::string signedSizeString(std::int64_t bytes);

}  // namespace korvex
