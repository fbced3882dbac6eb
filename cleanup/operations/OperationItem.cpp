#include "cleanup/operations/OperationItem.h"

#include "scan/tree/FileSystemItem.h"

#include <algorithm>
#include <cstring>

namespace korvex {

OperationError posixError(int errnoValue) {
    return posixError(errnoValue, std::strerror(errnoValue));
}

OperationError posixError(int errnoValue, std::string description) {
    return {"posix", errnoValue, std::move(description)};
}

OperationItem::OperationItem(ItemRef node)
    : mSystemItem(std::move(node)),
      mName(mSystemItem->name()),
      mPath(mSystemItem->getFullPath()),
      mSize(std::max<std::int64_t>(0, mSystemItem->gettotalsize())) {}

OperationResult OperationItem::state() const {
    std::lock_guard lock(mLock);
    return mState;
}

void OperationItem::setState(OperationResult state) {
    std::lock_guard lock(mLock);
    mState = std::move(state);
}

std::string OperationItem::destFolderUrl() const {
    std::lock_guard lock(mLock);
    return mDestFolderUrl;
}

std::optional<CopiedFileItem> OperationItem::copyItem() const {
    std::lock_guard lock(mLock);
    return mCopyItem;
}

void OperationItem::setCopied(std::string destFolder, CopiedFileItem copy) {
    std::lock_guard lock(mLock);
    mDestFolderUrl = std::move(destFolder);
    mCopyItem = std::move(copy);
    mCopyReported = false;
}

std::optional<CopiedFileItem> OperationItem::takeNewCopy() {
    std::lock_guard lock(mLock);
    if (mCopyReported)
        return std::nullopt;
    mCopyReported = true;
    return mCopyItem;
}

void OperationItem::setSelectionHandler(std::weak_ptr<OperationItemSelectionHandler> handler) {
    std::lock_guard lock(mLock);
    mSelectionHandler = std::move(handler);
}

bool OperationItem::isSelected() const {
    std::shared_ptr<OperationItemSelectionHandler> handler;
    {
        std::lock_guard lock(mLock);
        handler = mSelectionHandler.lock();
    }
    return !handler || handler->isItemSelected(*this);
}

}  // namespace korvex
