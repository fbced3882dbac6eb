#pragma once

#include <string>
#include <vector>

namespace korvex {

class SelectedItemsStorage;

// The full paths a storage change concerns, one type per kind of change.
struct DidAddItems {
    std::vector<std::string> paths;
};
struct DidRemoveItems {
    std::vector<std::string> paths;
};

// Told of what changed in a storage, after its lock was released, on the
// thread that changed it (the descendants dropped by removeChildrenOf() are
// announced later, on the main queue).
class SelectedItemsStorageListener {
  public:
    virtual ~SelectedItemsStorageListener() = default;
    virtual void selectedItemsStorage(SelectedItemsStorage& storage, const DidAddItems& added) = 0;
    virtual void selectedItemsStorage(SelectedItemsStorage& storage,
                                      const DidRemoveItems& removed) = 0;
    virtual void selectedItemsStorageUpdated(SelectedItemsStorage& storage) = 0;
};

}  // namespace korvex
