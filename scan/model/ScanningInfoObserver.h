#pragma once

#include <string>

namespace korvex {

// Told which path is being scanned (empty when idle); answers the
// application's own scanning state.
class ScanningInfoObserver {
  public:
    virtual ~ScanningInfoObserver() = default;
    virtual void setScanningPath(const std::string& path) = 0;
    virtual bool isScanning() const = 0;
};

}  // namespace korvex
