#pragma once

#include "scan/tree/FileSystemItem.h"

namespace korvex {

// Stands for a group of hidden entries: a count and their summed size.
class FileSystemHiddenItem : public FileSystemItem {
  public:
    static boost::intrusive_ptr<FileSystemHiddenItem> initWithPathSize(std::string_view path,
                                                                       FolderSystemItem* parent,
                                                                       std::int64_t itemsize,
                                                                       std::uint8_t timeCode,
                                                                       bool hidden, bool cloud);

    bool isHidden() const override { return true; }
    void addFileSize(std::int64_t size) override { addHiddenItem(size); }
    void addHiddenItem(std::int64_t size);
    void addFileSizeForAll(std::int64_t size) override { nAddSize += size; }
    std::int64_t calctotalsize() override;
    std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) override;
    void setHiddenName() { updatePath({}); }
    std::uint64_t hiddenCount() const { return mnhiddencount; }
    ItemRef createOrGetCutItem() override { return nullptr; }
    ItemRef createDuplicatedCutItemForParent(FolderSystemItem*, std::string_view) override {
        return nullptr;
    }
    ItemRef addDuplicateToParent(FolderSystemItem* parent) const override;

  protected:
    friend class FileSystemItem;
    using FileSystemItem::FileSystemItem;

  private:
    std::uint64_t mnhiddencount = 0;
    std::int64_t nAddSize = 0;
};

}  // namespace korvex
