#pragma once

#include "cleanup/elevated/helper/SafeWalk.h"

#include <functional>

namespace korvex::elevated {

// Deletes a collected item for good: a folder's contents through descriptors
// opened without following links, never crossing into another file system
// mounted below it. `cancelled` is asked between entries; a cancelled
// removal stops there and reports what is left.
ItemOutcome removePermanently(const TargetItem& target, const std::function<bool()>& cancelled);

}  // namespace korvex::elevated
