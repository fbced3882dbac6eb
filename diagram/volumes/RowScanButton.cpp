#include "diagram/volumes/RowScanButton.h"

#include "diagram/volumes/VolumesTableLocalizable.h"

namespace korvex {

RowScanAction rowScanActionFor(std::int64_t scanningState) {
    switch (scanningState) {
        case TopLevelItem::NeverScanned:
            return RowScanAction::Start;
        case TopLevelItem::Scanning:
            return RowScanAction::Stop;
        default:
            return RowScanAction::Rescan;
    }
}

std::string rowScanTooltip(RowScanAction action) {
    using namespace VolumesTableLocalizable;
    switch (action) {
        case RowScanAction::Start:
            return text(kStartScanning);
        case RowScanAction::Stop:
            return text(kStopScanning);
        case RowScanAction::Rescan:
            break;
    }
    return text(kRescan);
}

bool rowShowsScannedMark(std::int64_t scanningState, bool pointerOverRow) {
    return scanningState == TopLevelItem::Scanned && !pointerOverRow;
}

}  // namespace korvex
