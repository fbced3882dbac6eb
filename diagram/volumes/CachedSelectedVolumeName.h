#pragma once

#include <optional>
#include <string>

namespace korvex::CachedSelectedVolumeName {

// The path of the entry last selected in the volumes list, kept across launches.
inline constexpr const char* kKey = "cachedSelectedVolumeName";

std::optional<std::string> load();
void save(const std::string& path);
void remove();

}  // namespace korvex::CachedSelectedVolumeName
