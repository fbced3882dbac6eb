#pragma once

#include "scan/targets/TopLevelItem.h"
#include "scan/tree/ItemRef.h"

namespace korvex {

// The right-hand side of the main window: what it shows of the scanned tree
// beside the diagram. The window controller tells it which root to show and
// when the facts of a target or of the running scan changed.
class ContentPanel {
  public:
    virtual ~ContentPanel() = default;
    // A new scan of a target that had been scanned before (`rescan`) or the
    // selection of another scanned target.
    virtual void updateWith(const ItemRef& root, bool rescan) = 0;
    // The first scan of a target: the panel leaves its empty state.
    virtual void animateSwitchToScannedState(const ItemRef& root) = 0;
    virtual void refreshItemInfoWithTopLevelItem(const TopLevelRef& entry) = 0;
    // The running scan's counters moved on.
    virtual void updateSummeryControllerResultInfo() = 0;
    // The diagram root changed: the panel's current folder follows it.
    virtual void applyRootForLists(const ItemRef& root) = 0;
    // Whether the target the panel shows is being scanned now.
    virtual void setScanning(bool scanning) = 0;
};

}  // namespace korvex
