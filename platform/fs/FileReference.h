#pragma once

#include <optional>
#include <string>

namespace korvex::platform {

// A handle on one file that keeps naming it when it is renamed or moved
// within its file system. It is an O_PATH descriptor: nothing is opened for
// reading, a final symbolic link is the link itself, and the file's inode
// stays allocated while the handle lives, so its identity is never reused.
class FileReference {
  public:
    // Nothing when the path cannot be opened (it vanished, or a folder on
    // the way refuses search).
    static std::optional<FileReference> open(const std::string& path);

    ~FileReference();
    FileReference(FileReference&& other) noexcept;
    FileReference& operator=(FileReference&& other) noexcept;
    FileReference(const FileReference&) = delete;
    FileReference& operator=(const FileReference&) = delete;

    // Where the file is now; nothing once it has been deleted, or when its
    // place is out of this process's sight.
    std::optional<std::string> currentPath() const;
    // The entry at `path` (not following a final link) is this file.
    bool isAt(const std::string& path) const;
    // The file is no longer at `path`: nothing is there, or another file is.
    // A path that cannot be examined (a folder on the way refuses search)
    // does not count as left.
    bool hasLeft(const std::string& path) const;

  private:
    explicit FileReference(int fd) : mFd(fd) {}

    int mFd = -1;
};

}  // namespace korvex::platform
