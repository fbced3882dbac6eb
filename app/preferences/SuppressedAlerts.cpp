#include "app/preferences/SuppressedAlerts.h"

#include "app/settings/Settings.h"
#include "cleanup/collection/CollectionAlerts.h"

#include <algorithm>
#include <iterator>

namespace korvex::SuppressedAlerts {

bool anySuppressed() {
    return Settings::suppressSomeFoldersNotScannedAlert() ||
           !Settings::showCleanPergeableSpaceAlert() ||
           std::any_of(std::begin(kCollectionSuppressionKeys), std::end(kCollectionSuppressionKeys),
                       [](const char* key) { return Settings::getBoolValueForKey(key, false); });
}

void showAllAgain() {
    Settings::setSuppressSomeFoldersNotScannedAlert(false);
    Settings::setShowCleanPergeableSpaceAlert(true);
    for (const char* key : kCollectionSuppressionKeys) {
        Settings::removeValueForKey(key);
    }
}

}  // namespace korvex::SuppressedAlerts
