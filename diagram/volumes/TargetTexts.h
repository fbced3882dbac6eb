#pragma once

#include "scan/targets/TopLevelItem.h"

#include <string>

namespace korvex {

// The name a row shows: the entry's name, or its path when it has none.
std::string entryTitle(const TopLevelItem& entry);
// "%@ available of %@" with the free space and the capacity of the entry.
std::string availableOfText(const TopLevelItem& entry);
// The second line of a list row: the free space of a volume; the scanned size
// of a folder, or its path (home as "~") before a scan.
std::string entrySubtitle(const TopLevelItem& entry);
// Occupied share of a volume, between 0 and 1.
double usedFraction(const TopLevelItem& entry);

}  // namespace korvex
