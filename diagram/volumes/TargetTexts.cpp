#include "diagram/volumes/TargetTexts.h"

#include "diagram/volumes/VolumesTableLocalizable.h"
#include "scan/format/PathUtils.h"
#include "scan/format/SizeFormatter.h"
#include "scan/tree/FolderSystemItem.h"

#include <algorithm>

namespace korvex {

namespace {
std::uint64_t nonNegative(std::int64_t bytes) {
    return bytes < 0 ? 0 : static_cast<std::uint64_t>(bytes);
}

}  // namespace

std::string entryTitle(const TopLevelItem& entry) {
    return entry.getName().empty() ? entry.getPath() : entry.getName();
}

std::string availableOfText(const TopLevelItem& entry) {
    return platform::fillPlaceholders(
        VolumesTableLocalizable::text(VolumesTableLocalizable::kAvailableOf),
        {formatMemoryStringDot1(nonNegative(entry.getfsize())),
         formatMemoryStringDot1(nonNegative(entry.getsize()))});
}

std::string entrySubtitle(const TopLevelItem& entry) {
    if (entry.isVol()) {
        return availableOfText(entry);
    }
    if (entry.isScanned()) {
        return formatMemoryStringDot1(nonNegative(entry.calculateTotalSize()));
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
