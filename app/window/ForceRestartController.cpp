#include "app/window/ForceRestartController.h"

#include "app/settings/Settings.h"
#include "app/toolkit/RestartService.h"

namespace korvex {

ForceRestartController::ForceRestartController(RestartService* service) {
    if (service == nullptr) {
        return;
    }
    service->registerBeforeRestart([] { Settings::saveBoolValue(true, kShouldScanOnRelaunch); });
    service->registerRestartDeclined([] { Settings::saveBoolValue(false, kShouldScanOnRelaunch); });
}

void ForceRestartController::onScanStartedWith(const std::string& path) {
    if (path.empty()) {
        Settings::removeValueForKey(kLastScanPathKey);
    } else {
        Settings::saveStringValue(path, kLastScanPathKey);
    }
}

void ForceRestartController::onScanFinished() {
    Settings::removeValueForKey(kLastScanPathKey);
    Settings::saveBoolValue(false, kShouldScanOnRelaunch);
}

void ForceRestartController::registerStartScanWithBlock(
    std::function<void(const std::string&)> block) {
    mStartBlock = std::move(block);
}

void ForceRestartController::onAppLaunched() {
    if (!Settings::getBoolValueForKey(kShouldScanOnRelaunch, false)) {
        return;
    }
    std::optional<std::string> path = Settings::getStringValueForKey(kLastScanPathKey);
    if (!path || path->empty()) {
        return;
    }
    Settings::saveBoolValue(false, kShouldScanOnRelaunch);
    if (mStartBlock) {
        mStartBlock(*path);
    }
}

}  // namespace korvex
