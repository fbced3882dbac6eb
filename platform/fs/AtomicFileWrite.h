#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex::platform {

// Replaces `path` with `content` so that a reader sees either the old file or
// the whole new one: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is renamed over `path`.
// Answers the error text, or nothing on success; on failure `path` is left
// as it was and the temporary file is removed.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace korvex::platform
