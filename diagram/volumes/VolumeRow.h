#pragma once

#include "scan/targets/TopLevelItem.h"
#include "scan/targets/VolumeItemGrop.h"

#include <memory>

namespace korvex {

// One row of the volumes list: a group header or a scan target.
struct VolumeRow {
    std::shared_ptr<VolumeItemGrop> group;
    TopLevelRef entry;

    bool isGroup() const { return group != nullptr; }
};

// Section kinds of the group headers.
enum VolumeSectionKind : std::int64_t {
    kVolumeSection = 1,
    kFavoriteFoldersSection = 2,
    kFoldersSection = 3,
};

}  // namespace korvex
