#pragma once

#include "scan/tree/FileSystemItem.h"

namespace korvex {

// A file node in transition (being removed, or copied in): it reports its
// real size scaled by the draw coefficient, which the diagram animates.
class FileSystemCutItem : public FileSystemItem {
  public:
    // A detached cut copy of `source` with the given parent and name.
    static boost::intrusive_ptr<FileSystemCutItem> makeFrom(const FileSystemItem& source,
                                                            FolderSystemItem* parent,
                                                            std::string_view name);

    bool isCutItem() const override { return true; }
    double getdrawkoef() const override { return mddrawkoef; }
    void setdrawkoef(double koef) override { mddrawkoef = koef; }
    std::int64_t gettotalsize() const override;
    std::int64_t calctotalsize() override { return gettotalsize(); }
    std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) override;
    ItemRef createOrGetCutItem() override { return this; }
    bool insert2BiggestFilesArray(ItemList& list) override;
    bool replaceToSuperItem() override;

  protected:
    friend class FileSystemItem;
    using FileSystemItem::FileSystemItem;

  private:
    double mddrawkoef = 1.0;
};

}  // namespace korvex
