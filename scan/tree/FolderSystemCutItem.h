#pragma once

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

// A folder node in transition; see FileSystemCutItem. When it replaces a
// folder it takes over that folder's children, whose parent references keep
// pointing at the replaced folder (same name and parent, so the same paths);
// the cut item keeps that folder alive for them.
class FolderSystemCutItem : public FolderSystemItem {
  public:
    // Takes over the children of `source` (a folder standing in the tree).
    static boost::intrusive_ptr<FolderSystemCutItem> makeReplacing(FolderSystemItem& source);
    // A cut copy under another parent and name, with a duplicated subtree.
    static boost::intrusive_ptr<FolderSystemCutItem> makeCopy(const FolderSystemItem& source,
                                                              FolderSystemItem* parent,
                                                              std::string_view name);

    bool isCutItem() const override { return true; }
    double getdrawkoef() const override { return mddrawkoef; }
    void setdrawkoef(double koef) override { mddrawkoef = koef; }
    std::int64_t gettotalsize() const override;
    std::int64_t calctotalsize() override;
    std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) override;
    ItemRef createOrGetCutItem() override { return this; }
    bool insert2BiggestFilesArray(ItemList& list) override;
    void fillBiggestFilesArray(ItemList& list) override;
    bool replaceToSuperItem() override;

  protected:
    friend class FileSystemItem;
    FolderSystemCutItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                        bool bPack, std::uint8_t timeCode, bool hidden, bool cloud);

  private:
    std::int64_t scaled(std::int64_t size) const;

    double mddrawkoef = 1.0;
    FolderRef mReplacedFolder;
};

}  // namespace korvex
