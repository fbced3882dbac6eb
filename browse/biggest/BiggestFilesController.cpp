#include "browse/biggest/BiggestFilesController.h"

#include "platform/dispatch/MainQueue.h"
#include "scan/tree/FileSystemItem.h"

namespace korvex {

void BiggestFilesController::initScannningWithRoot(ItemRef root) {
    mScanningRoot = std::move(root);
    mScanningFiles.clear();
}

void BiggestFilesController::stopScanning() {
    mScanningFiles.clear();
    mScanningRoot.reset();
}

std::int64_t BiggestFilesController::getPorogforScan() const {
    return mScanningFiles.getPorogforScan();
}

bool BiggestFilesController::tryAddtoScanArray(FileSystemItem* item, bool bCheckforExist) {
    return mScanningFiles.tryAddtoScanArray(item, bCheckforExist);
}

void BiggestFilesController::tryUpdateTableByScanning() {
    if (m_bWaitUpdate || mDelegate == nullptr || !mDelegate->isListOnScreen()) {
        return;
    }
    m_bWaitUpdate = true;
    platform::MainQueue::shared().async([this] { doUpdateTableByScanning(); });
}

void BiggestFilesController::doUpdateTableByScanning() {
    if (showsScanningFiles()) {
        show(true);
    }
    m_bWaitUpdate = false;
}

const ItemList& BiggestFilesController::displayFiles() const {
    return showsScanningFiles() ? mScanningFiles.files() : mDisplayFiles;
}

void BiggestFilesController::updateWithItem(ItemRef folder) {
    if (folder == mDisplayRoot) {
        if (!folder || folder == mScanningRoot) {
            return;
        }
        mDisplayFiles.clear();
        folder->fillBiggestFilesArray(mDisplayFiles);
        show(true);
        return;
    }
    mDisplayFiles.clear();
    mDisplayRoot = std::move(folder);
    if (mDisplayRoot && !showsScanningFiles()) {
        mDisplayRoot->fillBiggestFilesArray(mDisplayFiles);
    }
    show(false);
}

void BiggestFilesController::show(bool keepPosition) {
    if (mDelegate != nullptr) {
        mDelegate->showBiggestFiles(mDisplayRoot, displayFiles(), keepPosition);
    }
}

}  // namespace korvex
