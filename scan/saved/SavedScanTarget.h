#pragma once

#include "scan/saved/SavedScan.h"
#include "scan/targets/TopLevelItem.h"

#include <string>

namespace korvex {

// A scan read from a file, shown like a scanned target: its tree is the
// scanned root and nothing of it is read from the disk. `title` is what the
// window calls it ("Saved scan of HOST:PATH, DATE").
class SavedScanTarget : public TopLevelItem {
  public:
    SavedScanTarget(SavedScan scan, std::string file, std::string title)
        : TopLevelItem(scan.root->fullPath(), std::move(title), 0, 0, 0),
          mScan(std::move(scan)),
          mFile(std::move(file)) {
        // The dates the target read are of whatever has the path here now.
        pcreatedDate.reset();
        pmodDate.reset();
        paccDate.reset();
        setScannedRoot(mScan.root);
        setScanningState(mScan.cancelled ? Cancelled : Scanned);
        setEntriesRead(mScan.entriesRead);
    }

    const SavedScan& scan() const { return mScan; }
    // The file it was read from.
    const std::string& file() const { return mFile; }

  private:
    SavedScan mScan;
    std::string mFile;
};

}  // namespace korvex
