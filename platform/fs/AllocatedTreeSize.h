#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvex::platform {

// The bytes allocated on disk to `path` and everything below it on the same
// file system, hard-linked files counted once; nothing when some part of the
// tree could not be read, as a partial sum would be a wrong answer.
std::optional<std::uint64_t> allocatedTreeSize(const std::string& path);

}  // namespace korvex::platform
