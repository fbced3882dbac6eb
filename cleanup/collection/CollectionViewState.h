#pragma once

#include <cstdint>
#include <string>

namespace korvex {

// What is running, for the flashing status line: 0 nothing, 1 moving,
// 2 removing, 3 copying, 4 freeing purgeable space.
enum class DoCollectionCurrentOperationState : int {
    none = 0,
    moving = 1,
    removing = 2,
    copying = 3,
    freeingPurgeableSpace = 4
};

// The status line's text; empty for none.
std::string statusTextFor(DoCollectionCurrentOperationState state);

// Everything the collection's views show, recomputed after each change.
struct CollectionViewState {
    // 0 idle, 1 scanning, 2 scanned; its accessibility value is
    // "idle", "scanning" or "scanned".
    int buttonScanState = 0;
    std::string buttonTitle;
    bool buttonEnabled = true;
    bool chooserVisible = false;
    bool chooserEnabled = false;
    bool summaryVisible = false;
    bool dropAreaVisible = false;
    std::int64_t count = 0;
    std::int64_t size = 0;
    DoCollectionCurrentOperationState operationState = DoCollectionCurrentOperationState::none;
    // What the last operation run without its sheet did ("3 items moved to
    // the Trash…"), until the next one starts.
    std::string lastResult;

    std::string buttonAccessibilityValue() const;
    bool operator==(const CollectionViewState&) const = default;
};

}  // namespace korvex
