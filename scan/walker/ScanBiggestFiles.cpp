#include "scan/walker/ScanBiggestFiles.h"

#include "scan/tree/FileSystemItem.h"

namespace korvex {

std::int64_t ScanBiggestFiles::getPorogforScan() const {
    if (mFiles.size() < kBiggestFilesBound) {
        return 0;
    }
    return mFiles.back()->gettotalsize();
}

bool ScanBiggestFiles::tryAddtoScanArray(FileSystemItem* item, bool bCheckforExist) {
    return bCheckforExist ? item->insert2BiggestFilesArrayWithCheck_Added(mFiles)
                          : item->insert2BiggestFilesArray(mFiles);
}

}  // namespace korvex
