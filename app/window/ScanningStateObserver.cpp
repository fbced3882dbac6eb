#include "app/window/ScanningStateObserver.h"

namespace korvex {

void ScanningStateObserver::setScanningPath(const std::string& path) {
    mScanningPath = path.empty() ? std::nullopt : std::optional<std::string>(path);
    mIsScanning = mScanningPath.has_value();
    recompute();
}

void ScanningStateObserver::setSelectedVolumePath(std::optional<std::string> path) {
    mSelectedVolumePath = std::move(path);
    recompute();
}

void ScanningStateObserver::recompute() {
    std::int64_t state = Idle;
    if (mIsScanning) {
        state = mScanningPath == mSelectedVolumePath ? SelectedTargetScanning : OtherTargetScanning;
    }
    if (state == mState) {
        return;
    }
    mState = state;
    for (const Listener& listener : mListeners) {
        listener(state);
    }
}

}  // namespace korvex
