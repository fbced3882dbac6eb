#include "cleanup/collection/CollectionAlerts.h"

#include "app/settings/Settings.h"

namespace korvex {

void showSuppressibleAlert(CollectionAlertPresenter* presenter, const SuppressibleAlert& alert,
                           const std::string& informative) {
    if (!presenter || Settings::getBoolValueForKey(alert.key, false))
        return;
    const std::string key = alert.key;
    presenter->showCollectionAlert(alert.message, informative, true, [key](bool suppressed) {
        if (suppressed)
            Settings::saveBoolValue(true, key);
    });
}

}  // namespace korvex
