#pragma once

#include "cleanup/purgeable/PurgeableSpaceCleanerWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::purgeableTexts {

PurgeableAlertText notCompleted();
// Names the cache folders that will be emptied, with the amount.
PurgeableConfirmationText confirmation(std::uint64_t amount, const std::string& volumeName,
                                       const std::vector<std::string>& cacheFolders);
PurgeableAlertText freedUp(const std::string& volumeName);
PurgeableAlertText failed(const std::string& volumeName, const std::string& error);
// The diagram's context menu item for the purgeable sector.
std::string freeUpMenuItem();
// The collection's label while a free-up runs.
std::string freeingUpLabel();

}  // namespace korvex::purgeableTexts
