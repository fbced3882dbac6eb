#pragma once

#include <optional>

namespace korvex::elevated {

// The immutable and append-only attributes stop an entry (or any change of a
// folder's entries) even for root, so the helper clears them where they are
// set. `fd` is a descriptor opened for reading; answers the flags it had,
// or nothing when the file system keeps none or none was set.
std::optional<long> clearLockFlags(int fd);
// Puts back what clearLockFlags answered.
void restoreLockFlags(int fd, long flags);

}  // namespace korvex::elevated
