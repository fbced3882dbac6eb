#pragma once

#include "platform/fs/FileOpFailure.h"

#include <sys/types.h>

#include <optional>
#include <string>

namespace korvex::platform {

// Which entry a file system holds, whatever name it has now.
struct EntryId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const EntryId&) const = default;
};

struct CopyOptions {
    // Every copied file and folder is on disk (fsync) before the copy answers.
    bool flush = false;
};

struct CopyOutcome {
    // The top entry of the copy, once this call made it; nothing when it
    // could not make it (EEXIST: the name was taken).
    std::optional<EntryId> created;
    std::optional<FileOpFailure> failure;
};

// Recreates `source` as the entry `name` of the open folder `folderFd`:
// folders with their contents, regular files byte for byte, links as links
// (never followed), FIFOs, sockets and devices with mknod where the system
// allows; permission bits, access and modification times, and ownership
// where permitted, kept. Every entry is made exclusively, so nothing already
// there is ever written to. Stops at the first failure and leaves what it
// made for the caller to remove; the source is only read. Messages name the
// copy as `shown`.
CopyOutcome copyEntryTree(const std::string& source, int folderFd, const std::string& name,
                          const std::string& shown, CopyOptions options = {});

}  // namespace korvex::platform
