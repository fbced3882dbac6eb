#include "diagram/volumes/TargetTexts.h"

#include "diagram/volumes/VolumesTableLocalizable.h"
#include "scan/format/PathUtils.h"
#include "scan/format/SizeFormatter.h"
#include "scan/tree/FolderSystemItem.h"

#include <algorithm>

namespace korvex {

std::string entryTitle(const TopLevelItem& entry) {
    return entry.getName().empty() ? entry.getPath() : entry.getName();
}

std::string availableOfText(const TopLevelItem& entry) {
    return platform::fillPlaceholders(
        VolumesTableLocalizable::text(VolumesTableLocalizable::kAvailableOf),
        {sizeString(entry.getfsize()), sizeString(entry.getsize())});
}

std::string entrySubtitle(const TopLevelItem& entry) {
    if (entry.isVol()) {
        return availableOfText(entry);
    }
    if (entry.isScanned()) {
        return sizeString(entry.calculateTotalSize());
    }
    return pathWithReplasingHomeFolderUsingTilda(entry.getPath());
}

double usedFraction(const TopLevelItem& entry) {
    if (entry.getsize() <= 0) {
        return 0.0;
    }
    return std::clamp(entry.getFullRatio(), 0.0, 1.0);
}

}  // namespace korvex
