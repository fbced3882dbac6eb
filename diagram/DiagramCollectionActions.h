#pragma once

#include "scan/tree/ItemRef.h"

#include <string>
#include <vector>

namespace korvex {

// What the diagram asks of the removal collection. The window hands the
// collection's controller in; without one the diagram's collection commands
// stay disabled.
class DiagramCollectionActions {
  public:
    virtual ~DiagramCollectionActions() = default;

    virtual bool addItemsToCollection(const ItemList& items) = 0;
    virtual void removeFromCollectionItem(const ItemRef& item) = 0;
    // The actions on an explicit list, leaving the collection as it is.
    virtual void perfromRemoveWithItems(const ItemList& items) = 0;
    virtual void performMoveToFolderWithItems(const ItemList& items) = 0;
    virtual void performCopyToFolderWithItems(const ItemList& items) = 0;
    virtual bool isProcessingFiles() const = 0;
    // A file drag from the diagram starts or ends.
    virtual void setIsDragging(bool dragging) = 0;
    // Paths that a drop elsewhere (the file manager's trash) took away.
    virtual void processRemovedPaths(const std::vector<std::string>& paths) = 0;
};

}  // namespace korvex
