#include "access/ScanningAccessManager.h"

namespace korvex {

ScanningAccessManager::ScanningAccessManager(AccessCacher::Probe probe)
    : mAccessCacher(std::move(probe)) {
    mAccessCacher.setListener(this);
    recordAccessAtScanStart();
}

void ScanningAccessManager::recordAccessAtScanStart() {
    for (AccessType type : kAllAccessTypes) {
        {
            std::lock_guard guard(syncQueue);
            accessBeforeRescan[type] = mAccessCacher.cachedValue(type);
        }
        accessChanged(type);
    }
}

void ScanningAccessManager::scanStarted() {
    recordAccessAtScanStart();
    bool changed = false;
    {
        std::lock_guard guard(syncQueue);
        changed = !mIsScanning;
        mIsScanning = true;
    }
    if (changed) {
        for (const auto& observer : liveObservers()) {
            observer->scanningChanged(true);
        }
    }
}

void ScanningAccessManager::scanFinished() {
    bool changed = false;
    {
        std::lock_guard guard(syncQueue);
        changed = mIsScanning;
        mIsScanning = false;
    }
    if (changed) {
        for (const auto& observer : liveObservers()) {
            observer->scanningChanged(false);
        }
    }
}

bool ScanningAccessManager::isScanning() const {
    std::lock_guard guard(syncQueue);
    return mIsScanning;
}

Availability ScanningAccessManager::availability(AccessType type) const {
    bool before = false;
    {
        std::lock_guard guard(syncQueue);
        auto it = accessBeforeRescan.find(type);
        before = it != accessBeforeRescan.end() && it->second;
    }
    bool now = mAccessCacher.cachedValue(type);
    if (before) {
        return now ? Availability::available : Availability::lockedAfterScanStarted;
    }
    return now ? Availability::grantedAfterScanStarted : Availability::unavailable;
}

void ScanningAccessManager::addObserver(const std::shared_ptr<ScanningAccessObserver>& observer) {
    std::lock_guard guard(syncQueue);
    listeners.push_back(observer);
}

std::vector<std::shared_ptr<ScanningAccessObserver>> ScanningAccessManager::liveObservers() {
    std::lock_guard guard(syncQueue);
    std::vector<std::shared_ptr<ScanningAccessObserver>> live;
    for (const auto& weak : listeners) {
        if (auto observer = weak.lock()) {
            live.push_back(std::move(observer));
        }
    }
    return live;
}

void ScanningAccessManager::accessChanged(AccessType type) {
    Availability now = availability(type);
    {
        std::lock_guard guard(syncQueue);
        auto it = availabilityByType.find(type);
        Availability previous =
            it != availabilityByType.end() ? it->second : Availability::unavailable;
        if (it != availabilityByType.end() && previous == now) {
            return;
        }
        if (it == availabilityByType.end() && now == Availability::unavailable) {
            availabilityByType[type] = now;
            return;
        }
        availabilityByType[type] = now;
    }
    for (const auto& observer : liveObservers()) {
        observer->availabilityChanged(type, now);
    }
}

}  // namespace korvex
