#pragma once

#include "scan/tree/ItemRef.h"

#include <cstdint>
#include <string>

namespace korvex {

// What the diagram asks of the window around it: the desktop's file manager
// and preview, the scan, the favourites and the purgeable-space recovery.
// The window implements it; the diagram never reaches those parts itself.
class DiagramHost {
  public:
    virtual ~DiagramHost() = default;

    virtual void revealItem(const FileSystemItem& item) = 0;
    virtual void showItemProperties(const FileSystemItem& item) = 0;
    virtual void previewItem(const FileSystemItem& item) = 0;
    // Restarts the scan of the target selected in the side panel.
    virtual void rescanSelectedTarget() = 0;
    virtual bool isScanning() const = 0;
    // 0 idle, 1 another target is being scanned, 2 the selected one is.
    virtual std::int64_t scanningState() const = 0;
    // The hint follows the pointer only while the window is active and no
    // review of the collection covers it.
    virtual bool hintAllowed() const = 0;
    virtual bool isReviewWindowVisible() const = 0;
    // The nodes selected in the side lists.
    virtual ItemList selectedListItems() const = 0;
    virtual void freeUpPurgeableSpace(FileSystemItem& item) = 0;
    virtual bool isFolderFavorite(const std::string& path) const = 0;
    virtual void setFolderFavorite(const std::string& path, bool favorite) = 0;
    virtual void readAboutInaccessibleSpace() = 0;
};

}  // namespace korvex
