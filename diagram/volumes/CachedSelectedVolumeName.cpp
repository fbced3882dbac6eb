#include "diagram/volumes/CachedSelectedVolumeName.h"

#include "app/settings/Settings.h"

namespace korvex::CachedSelectedVolumeName {

std::optional<std::string> load() {
    return Settings::getStringValueForKey(kKey);
}

void save(const std::string& path) {
    Settings::saveStringValue(path, kKey);
}

void remove() {
    Settings::removeValueForKey(kKey);
}

}  // namespace korvex::CachedSelectedVolumeName
