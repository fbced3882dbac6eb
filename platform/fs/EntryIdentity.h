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
// The same for `name` in the open folder `folder`: a walk over many entries
// looks up one name each instead of whole paths.
std::optional<EntryIdentity> entryIdentityAt(int folder, const char* name);
// Opens `name` in `folder` (or the absolute path `name` with -1) for the
// lookups above; -1 when it is no folder or cannot be opened.
int openFolderForIdentities(int folder, const char* name);

}  // namespace korvex::platform
