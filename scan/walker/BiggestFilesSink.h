#pragma once

#include "scan/tree/ItemRef.h"

#include <cstdint>

namespace korvex {

// What the scan needs of the biggest-files list: it offers nodes as they are
// attached, so the list of the scanned root fills while the tree grows.
// Called on the main thread only.
class BiggestFilesSink {
  public:
    virtual ~BiggestFilesSink() = default;
    // The smallest size worth offering.
    virtual std::int64_t getPorogforScan() const = 0;
    // With `bCheckforExist`, the node may be listed already (a grown package).
    virtual bool tryAddtoScanArray(FileSystemItem* item, bool bCheckforExist) = 0;
    virtual void tryUpdateTableByScanning() = 0;
};

}  // namespace korvex
