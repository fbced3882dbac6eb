#pragma once

#include "scan/tree/FileSystemItem.h"

namespace korvex {

// A synthetic child of a volume root standing for space the scan did not
// reach, could not read, or that the system may purge.
class SpecialSystemItem : public FileSystemItem {
  public:
    enum Type : std::int64_t { Unscanned = 0, Inaccessible = 1, Purgeable = 2 };

    // Attached to `parent` at once; its name is empty.
    static boost::intrusive_ptr<SpecialSystemItem> initWithType(Type type, FolderSystemItem* parent,
                                                                std::string description,
                                                                std::int64_t size);

    bool isUnscanned() const override { return type == Unscanned; }
    bool isInaccessible() const override { return type == Inaccessible; }
    bool isPurgeable() const override { return type == Purgeable; }
    std::string getDesc() const override { return itemDescription; }
    std::int64_t gettotalsize() const override;
    bool insert2BiggestFilesArray(ItemList&) override { return false; }
    Type getType() const { return type; }
    void setSize(std::int64_t newSize) { size = newSize; }
    ItemRef createOrGetCutItem() override { return nullptr; }
    ItemRef addDuplicateToParent(FolderSystemItem* parent) const override;

  protected:
    friend class FileSystemItem;
    SpecialSystemItem(InlineName name, Type type, FolderSystemItem* parent, std::string description,
                      std::int64_t size);

  private:
    std::string itemDescription;
    Type type;
    std::int64_t size;
};

}  // namespace korvex
