#pragma once

#include "scan/targets/TopLevelItem.h"

namespace korvex {

// What the volumes list asks of the window that owns it.
class VolumesTableDelegate {
  public:
    virtual ~VolumesTableDelegate() = default;

    // The selected entry changed; null when no valid row is selected.
    virtual void didSelectionChange(const TopLevelRef& entry) = 0;
    // Scans the selected entry (a new scan or a rescan).
    virtual void startScanAction() = 0;
    virtual void stopScanAction() = 0;
    virtual bool isProcessing() const = 0;
    // The entry is about to get a new root: the removal collection drops the
    // items of its old root.
    virtual void removeChildrenOfFolderItem(const TopLevelRef& entry) = 0;
    // 0 reveals the entry in the file manager, 1 previews it, 2 shows its properties.
    virtual void performEntryCommand(int code, const TopLevelRef& entry) = 0;
};

}  // namespace korvex
