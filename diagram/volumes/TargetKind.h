#pragma once

#include "scan/targets/TopLevelItem.h"

#include <string>

namespace korvex {

// The kind of a scan target as its icon shows it.
enum class TargetKind {
    InternalDisk,
    ExternalDisk,
    NetworkDisk,
    DiskImage,
    OpticalDisk,
    Home,
    Folder
};

TargetKind targetKindOf(const TopLevelItem& entry, const std::string& homeFolder);

}  // namespace korvex
