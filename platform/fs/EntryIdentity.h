#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvex::platform {

// Which file an entry is: two paths with the same identity name the same
// file, and a path whose identity changed names another file now.
struct EntryIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const EntryIdentity&) const = default;
};

// The identity of the entry at `path` itself (a final link is not followed);
// nothing when there is no such entry.
std::optional<EntryIdentity> entryIdentity(const std::string& path);

}  // namespace korvex::platform
