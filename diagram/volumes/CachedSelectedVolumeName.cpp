#include "diagram/volumes/CachedSelectedVolumeName.h"

#include "platform/settings/SettingsStore.h"

namespace korvex::CachedSelectedVolumeName {

// The typed accessors of the settings layer cover numbers, flags, arrays and
// dictionaries; a lone text value goes to the same store directly.
std::optional<std::string> load() {
    auto stored = platform::SettingsStore::standard().objectForKey(kKey);
    if (!stored || !stored->is_string()) {
        return std::nullopt;
    }
    return stored->get<std::string>();
}

void save(const std::string& path) {
    platform::SettingsStore::standard().setObject(kKey, path);
}

void remove() {
    platform::SettingsStore::standard().removeObjectForKey(kKey);
}

}  // namespace korvex::CachedSelectedVolumeName
