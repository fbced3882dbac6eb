#include "scan/model/ScanLabels.h"

#include "platform/Localization.h"

namespace korvex::scanLabels {

namespace {
constexpr const char* kTable = "ScanLabelsLocalizable";
constexpr platform::TextEntry kUnscanned{"UnscannedDiskSpace", "Unscanned Disk Space",
                                         "space of a volume the scan did not reach"};
constexpr platform::TextEntry kInaccessible{"InaccessibleDiskSpace", "Inaccessible Disk Space",
                                            "space of a volume the scan could not read"};
constexpr platform::TextEntry kPurgeable{"PurgeableDiskSpace", "Purgeable Disk Space",
                                         "space the system can free without losing data"};
}  // namespace

std::string unscannedDiskSpace() {
    return platform::localized(kTable, kUnscanned);
}
std::string inaccessibleDiskSpace() {
    return platform::localized(kTable, kInaccessible);
}
std::string purgeableDiskSpace() {
    return platform::localized(kTable, kPurgeable);
}

}  // namespace korvex::scanLabels
