#pragma once

#include "scan/walker/ScanBiggestFiles.h"

#include <functional>

namespace korvex {

// The list view hosting the biggest files; the controller only tells it what
// to show.
class BiggestFilesDelegate {
  public:
    virtual ~BiggestFilesDelegate() = default;
    // Reloads are scheduled only while the list is part of a window.
    virtual bool isListOnScreen() const = 0;
    // `keepPosition`: the same folder was rebuilt, so selection and scroll stay.
    virtual void showBiggestFiles(const ItemRef& root, const ItemList& files,
                                  bool keepPosition) = 0;
};

// The 100 biggest files below the shown folder. During a scan the walker offers
// nodes to it directly, so the scanned root's list fills without a second walk.
class BiggestFilesController : public BiggestFilesSink {
  public:
    explicit BiggestFilesController(BiggestFilesDelegate* delegate = nullptr)
        : mDelegate(delegate) {}

    void setDelegate(BiggestFilesDelegate* delegate) { mDelegate = delegate; }

    void initScannningWithRoot(ItemRef root);
    void stopScanning();

    std::int64_t getPorogforScan() const override;
    bool tryAddtoScanArray(FileSystemItem* item, bool bCheckforExist) override;
    void tryUpdateTableByScanning() override;

    void updateWithItem(ItemRef folder);

    const ItemRef& scanningRoot() const { return mScanningRoot; }
    const ItemRef& displayRoot() const { return mDisplayRoot; }
    const ItemList& displayFiles() const;

  private:
    void doUpdateTableByScanning();
    bool showsScanningFiles() const { return mDisplayRoot == mScanningRoot; }
    void show(bool keepPosition);

    BiggestFilesDelegate* mDelegate;
    ItemRef mScanningRoot;
    ScanBiggestFiles mScanningFiles;
    ItemRef mDisplayRoot;
    ItemList mDisplayFiles;
    bool m_bWaitUpdate = false;
};

}  // namespace korvex
