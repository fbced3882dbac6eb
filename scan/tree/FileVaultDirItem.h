#pragma once

#include "scan/tree/FileSystemItem.h"

namespace korvex {

// Stands for a protected user directory that links to another volume.
class FileVaultDirItem : public FileSystemItem {
  public:
    static boost::intrusive_ptr<FileVaultDirItem> initWithPathSize(
        std::string_view path, FolderSystemItem* parent, std::int64_t itemsize,
        std::string linkVolumePath, std::uint8_t timeCode, bool hidden, bool cloud);

    bool isFileVaultDir() const override { return true; }
    void addFileSize(std::int64_t size) override { mnselfsize += size; }
    const std::string& getVolumeLinkPath() const { return linkVolumePath; }
    ItemRef addDuplicateToParent(FolderSystemItem* parent) const override;

  protected:
    friend class FileSystemItem;
    FileVaultDirItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                     std::string link, std::uint8_t timeCode, bool hidden, bool cloud);

  private:
    std::string linkVolumePath;
};

}  // namespace korvex
