#pragma once

#include <cstdint>
#include <string>

namespace korvex {

// The size texts of the interface, in decimal units (1000 bytes to the
// kilobyte) and always with a decimal point, whatever the locale.

// General style: "999 B", "1 KB", "1.5 MB" (at most one decimal).
std::string formatMemoryStringDot1(std::uint64_t bytes);
inline std::string convertToStringFromFileSize(std::uint64_t bytes) {
    return formatMemoryStringDot1(bytes);
}
// Power-of-two steps, shown with the decimal unit names ("2.00 KB" for 2,048).
std::string stringFromSize(std::uint64_t bytes);

namespace Utilmod {
// Short style: "Zero KB", "512 bytes", "5.00 KB", "50.0 KB", "500 KB".
std::string stringFromFileSizeShort1(std::uint64_t bytes);
}  // namespace Utilmod

namespace SizeToStringConverter {
inline std::string stringFromSize(std::uint64_t bytes) {
    return korvex::stringFromSize(bytes);
}
}  // namespace SizeToStringConverter

}  // namespace korvex
