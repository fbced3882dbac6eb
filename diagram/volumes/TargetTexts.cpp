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

// Fills the "%@" placeholders of a text in order.
std::string fill(std::string pattern, std::initializer_list<std::string> values) {
    std::size_t from = 0;
    for (const std::string& value : values) {
        std::size_t at = pattern.find("%@", from);
        if (at == std::string::npos) {
            break;
        }
        pattern.replace(at, 2, value);
        from = at + value.size();
    }
    return pattern;
}
}  // namespace

std::string entryTitle(const TopLevelItem& entry) {
    return entry.getName().empty() ? entry.getPath() : entry.getName();
}

std::string availableOfText(const TopLevelItem& entry) {
    return fill(VolumesTableLocalizable::text(VolumesTableLocalizable::kAvailableOf),
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
