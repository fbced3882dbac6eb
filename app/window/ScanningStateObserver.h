#pragma once

#include "scan/model/ScanningInfoObserver.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// The scanning state the window's lists share: whether a scan runs, what it
// scans, and which target the left panel has selected. `state` is 0 when no
// scan runs, 2 while the selected target is the one being scanned, and 1
// while another target is.
class ScanningStateObserver : public ScanningInfoObserver {
  public:
    enum State : std::int64_t { Idle = 0, OtherTargetScanning = 1, SelectedTargetScanning = 2 };
    using Listener = std::function<void(std::int64_t state)>;

    void setScanningPath(const std::string& path) override;
    bool isScanning() const override { return mIsScanning; }
    const std::optional<std::string>& scanningPath() const { return mScanningPath; }
    void setSelectedVolumePath(std::optional<std::string> path);
    const std::optional<std::string>& selectedVolumePath() const { return mSelectedVolumePath; }
    std::int64_t state() const { return mState; }

    // Told `scanningStateChanged:` only when the state really changes.
    void addListener(Listener listener) { mListeners.push_back(std::move(listener)); }

  private:
    void recompute();

    bool mIsScanning = false;
    std::optional<std::string> mScanningPath;
    std::optional<std::string> mSelectedVolumePath;
    std::int64_t mState = Idle;
    std::vector<Listener> mListeners;
};

}  // namespace korvex
