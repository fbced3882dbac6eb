#pragma once

#include "platform/fs/FileOpFailure.h"

#include <optional>
#include <string>

namespace korvex::platform {

// Recreates `source` at `target` (which must not exist): folders with their
// contents, regular files byte for byte, links as links (never followed),
// FIFOs, sockets and devices with mknod where the system allows; permission
// bits, access and modification times, and ownership where permitted, kept.
// Stops at the first failure and leaves what it made so far for the caller
// to remove; the source is only read.
std::optional<FileOpFailure> copyEntryTree(const std::string& source, const std::string& target);

}  // namespace korvex::platform
