#pragma once

#include "cleanup/removers/RootFileRemoveItem.h"
#include "platform/fs/FileReference.h"

#include <optional>
#include <string>

namespace korvex {

// One item a remover works on: where it was when the remover started, and a
// reference that follows the file wherever the script moves it.
class FinderRemoveDataInfo {
  public:
    // Nothing when the item has no path or its file cannot be referenced.
    static std::optional<FinderRemoveDataInfo> forItem(RootFileRemoveItemRef item);

    const RootFileRemoveItemRef& item() const { return mItem; }
    const std::string& path() const { return mPath; }
    // Where the file is now; nothing once it has been deleted.
    std::optional<std::string> currentPath() const { return mReference.currentPath(); }
    // The file is no longer at its starting path: nothing is there, or a new
    // entry made since is.
    bool hasLeftStartingPath() const { return mReference.hasLeft(mPath); }

  private:
    FinderRemoveDataInfo(RootFileRemoveItemRef item, std::string path,
                         platform::FileReference reference)
        : mItem(std::move(item)), mPath(std::move(path)), mReference(std::move(reference)) {}

    RootFileRemoveItemRef mItem;
    std::string mPath;
    platform::FileReference mReference;
};

}  // namespace korvex
