#pragma once

#include "access/AccessCacher.h"

#include <memory>
#include <mutex>
#include <vector>

namespace korvex {

class ScanningAccessObserver {
  public:
    virtual ~ScanningAccessObserver() = default;
    virtual void availabilityChanged(AccessType type, Availability availability) = 0;
    virtual void scanningChanged(bool isScanning) = 0;
};

// Tells whether a kind of access was granted or taken away since the
// current scan started, which decides whether a rescan is worth offering.
class ScanningAccessManager : public AccessCacherListener {
  public:
    explicit ScanningAccessManager(AccessCacher::Probe probe = currentAccess);

    void scanStarted();
    void scanFinished();
    bool isScanning() const;
    Availability availability(AccessType type) const;
    // Observers are held weakly: one that is gone is simply skipped.
    void addObserver(const std::shared_ptr<ScanningAccessObserver>& observer);
    AccessCacher& accessCacher() { return mAccessCacher; }

    void accessChanged(AccessType type) override;

  private:
    void recordAccessAtScanStart();
    std::vector<std::shared_ptr<ScanningAccessObserver>> liveObservers();

    AccessCacher mAccessCacher;
    std::vector<std::weak_ptr<ScanningAccessObserver>> listeners;
    mutable std::mutex syncQueue;
    std::map<AccessType, bool> accessBeforeRescan;
    std::map<AccessType, Availability> availabilityByType;
    bool mIsScanning = false;
};

}  // namespace korvex
