#pragma once

#include "scan/walker/BiggestFilesSink.h"

namespace korvex {

// The biggest files of a scan in progress, filled by the walker's offers:
// at most 100 nodes, biggest first.
class ScanBiggestFiles : public BiggestFilesSink {
  public:
    std::int64_t getPorogforScan() const override;
    bool tryAddtoScanArray(FileSystemItem* item, bool bCheckforExist) override;
    void tryUpdateTableByScanning() override {}

    const ItemList& files() const { return mFiles; }
    void clear() { mFiles.clear(); }

  private:
    ItemList mFiles;
};

}  // namespace korvex
