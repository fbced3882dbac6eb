#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// Random names from letters and digits, each drawn uniformly.
std::string randomStringWithLength(std::size_t length);
std::string randomStringWithLength(std::size_t length, std::string_view alphabet);

namespace DataChangeCommon {
inline constexpr const char* tmpFileName = "tmp.dat";
inline constexpr const char* innerFileName = "_";
// A path below `base` (default: the temporary folder's korvex folder) that
// does not exist yet: 10 random characters, one more after each collision.
std::string buildTempPathInPath(const std::optional<std::string>& base);
inline std::string buildTempPath() {
    return buildTempPathInPath(std::nullopt);
}
}  // namespace DataChangeCommon

}  // namespace korvex
