#pragma once

#include <string_view>

// Keys of the export's info objects and metadata. The ones with our prefix
// carry what the format has no field for; ncdu ignores keys it does not know.
namespace korvex::ncdu {

inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kDiskSize = "dsize";
inline constexpr std::string_view kDevice = "dev";
inline constexpr std::string_view kInode = "ino";
inline constexpr std::string_view kHardLinkCount = "hlnkc";
inline constexpr std::string_view kLinkCount = "nlink";
inline constexpr std::string_view kReadError = "read_error";
inline constexpr std::string_view kExcluded = "excluded";
inline constexpr std::string_view kNotRegular = "notreg";
inline constexpr std::string_view kTimestamp = "timestamp";
inline constexpr std::string_view kPackage = "korvex_package";
// Read only: exports written before hard links got ncdu's own fields.
inline constexpr std::string_view kHardLink = "korvex_hardlink";
inline constexpr std::string_view kHost = "korvex_host";

}  // namespace korvex::ncdu
