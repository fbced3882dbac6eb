#pragma once

#include "scan/tree/FolderSystemItem.h"

#include <array>

namespace korvex {

class SpecialSystemItem;

// The root node of a whole-volume scan: knows the volume's capacity and free
// space and the largest node size per depth, which scales the diagram's rings.
class VolumeSystemItem : public FolderSystemItem {
  public:
    static constexpr int kLevels = 14;

    static VolumeRef initWithPath(std::string_view path, std::int64_t diskSize,
                                  std::int64_t diskFreeSize);

    bool isVol() const override { return true; }

    void setVolSize(std::int64_t size) { nVolSize = size; }
    void setVolFreeSize(std::int64_t size) { nVolFreeSize = size; }
    std::int64_t getVolSize() const { return nVolSize; }
    std::int64_t getVolFreeSize() const { return nVolFreeSize; }
    // Kept free for the administrator; not part of the used space.
    void setVolReservedSize(std::int64_t size) { nVolReservedSize = size; }
    std::int64_t getVolReservedSize() const { return nVolReservedSize; }
    std::int64_t getWholeItemSize() const override { return nVolSize; }
    std::int64_t getOccSize() const override;
    std::int64_t getTheSize() const override;
    double getFullRatio() const override;
    bool getUseFreeSector() const override { return bUseFreeSector; }
    void setUseFreeSector(bool on) override { bUseFreeSector = on; }

    bool isMaxSizesValid() const override { return maxSizesByLevels[0] > 0; }
    const std::int64_t* getMaxSizesByLevels() const override { return maxSizesByLevels.data(); }
    void initSizesByLevels() override { maxSizesByLevels.fill(0); }

    std::int64_t calctotalsize() override;
    std::int64_t calctotalsizeex() override;
    std::int64_t recountChangedTotals() override {
        return recountChanged(maxSizesByLevels.data(), 0);
    }
    void addChild(ItemRef child) override;
    void removeChildAndRecalc(const FileSystemItem* child) override;

    SpecialSystemItem* purgeableSpaceItem() const { return _purgeableSpaceItem; }

    // A volume root never becomes a cut item.
    ItemRef createOrGetCutItem() override { return nullptr; }
    ItemRef createDuplicatedCutItemForParent(FolderSystemItem*, std::string_view) override {
        return nullptr;
    }

  protected:
    friend class FileSystemItem;
    VolumeSystemItem(InlineName name, std::int64_t diskSize, std::int64_t diskFreeSize);

  private:
    std::int64_t nVolSize;
    std::int64_t nVolFreeSize;
    std::int64_t nVolReservedSize = 0;
    bool bUseFreeSector = false;
    std::array<std::int64_t, kLevels> maxSizesByLevels{};
    // Owned by the children list; cleared when that child is removed.
    SpecialSystemItem* _purgeableSpaceItem = nullptr;
};

}  // namespace korvex
