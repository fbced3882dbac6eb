#pragma once

#include "cleanup/operations/OperationResult.h"
#include "scan/tree/CopiedFileItem.h"
#include "scan/tree/ItemRef.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

class OperationItem;

// Answers whether an item's row is ticked in the review sheet.
class OperationItemSelectionHandler {
  public:
    virtual ~OperationItemSelectionHandler() = default;
    virtual bool isItemSelected(const OperationItem& item) const = 0;
};

// One collected node going through an operation. The performers change its
// result from their worker threads while the review sheet reads it, so the
// mutable parts are guarded.
class OperationItem {
  public:
    explicit OperationItem(ItemRef node);

    const ItemRef& systemItem() const { return mSystemItem; }
    const std::string& name() const { return mName; }
    const std::string& path() const { return mPath; }
    std::int64_t size() const { return mSize; }

    OperationResult state() const;
    void setState(OperationResult state);

    // The folder the item went to and what it became there (move and copy).
    std::string destFolderUrl() const;
    std::optional<CopiedFileItem> copyItem() const;
    void setCopied(std::string destFolder, CopiedFileItem copy);
    // What the item became, the first time it is asked after setCopied():
    // a second run of the operation skips the item, and the tree must not
    // get the same copy twice.
    std::optional<CopiedFileItem> takeNewCopy();

    void setSelectionHandler(std::weak_ptr<OperationItemSelectionHandler> handler);
    // Ticked unless a review sheet says otherwise.
    bool isSelected() const;

  private:
    ItemRef mSystemItem;
    std::string mName;
    std::string mPath;
    std::int64_t mSize;
    mutable std::mutex mLock;
    OperationResult mState = OperationAwaitingReview{};
    std::string mDestFolderUrl;
    std::optional<CopiedFileItem> mCopyItem;
    bool mCopyReported = false;
    std::weak_ptr<OperationItemSelectionHandler> mSelectionHandler;
};

using OperationItemRef = std::shared_ptr<OperationItem>;
using OperationItems = std::vector<OperationItemRef>;

}  // namespace korvex
