#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::platform {

enum class EntryType : std::uint8_t { Regular, Directory, Symlink, Other };

// One entry of a folder as the bulk read yields it. The name points into the
// caller's buffer and is valid until the next batch.
struct DirectoryEntry {
    std::string_view name;
    EntryType type = EntryType::Other;
    std::uint64_t logicalSize = 0;
    std::uint64_t allocatedSize = 0;  // blocks × 512
    std::uint64_t inode = 0;
    std::uint32_t linkCount = 1;
    bool isMountPoint = false;  // a folder that is the root of another mount
};

// An open folder; `fd` is negative when opening failed (errno tells why).
struct DirectoryHandle {
    int fd = -1;
    std::uint32_t devMajor = 0;
    std::uint32_t devMinor = 0;
    // The folder's own allocated bytes.
    std::uint64_t allocatedSize = 0;
    bool valid() const { return fd >= 0; }
};

// What one batch read: `refused` counts the listed entries whose facts the
// folder's permissions kept back (a folder that can be read but not searched).
struct BatchCounts {
    int read = 0;
    int refused = 0;
};

// Bulk directory reads: one getdents64 per buffer, then one statx per entry
// relative to the open folder, never following links or triggering automounts.
class DirectoryReader {
  public:
    // Opens by absolute path; paths longer than PATH_MAX are opened piecewise.
    static DirectoryHandle openDirectory(const std::string& path);
    // The same for a folder whose device the caller knows already; its own
    // blocks are left at 0, without a look at the folder itself. Given its
    // open parent folder, only the last name of `path` is looked up there,
    // not every folder from the root down.
    static DirectoryHandle openDirectoryOnDevice(const std::string& path, std::uint32_t devMajor,
                                                 std::uint32_t devMinor, int parentFd = -1);
    // Fills `out` with the next batch of entries ("." and ".." left out).
    // Answers the number of entries read from the folder in this batch
    // (vanished and refused ones included), 0 at the end, -1 on failure.
    static BatchCounts readBatch(const DirectoryHandle& dir, char* buffer, std::size_t size,
                                 std::vector<DirectoryEntry>& out);
    static int close(const DirectoryHandle& dir);

  private:
    static BatchCounts parseBatch(const DirectoryHandle& dir, const char* buffer, long bytes,
                                  std::vector<DirectoryEntry>& out);
};

}  // namespace korvex::platform
