#include "cleanup/collection/CollectionViewState.h"

namespace korvex {

std::string statusTextFor(DoCollectionCurrentOperationState state) {
    switch (state) {
        case DoCollectionCurrentOperationState::moving:
            return "Moving. Please wait...";
        case DoCollectionCurrentOperationState::removing:
            return "Removing. Please wait...";
        case DoCollectionCurrentOperationState::copying:
            return "Copying. Please wait...";
        case DoCollectionCurrentOperationState::freeingPurgeableSpace:
            return "Freeing up the purgeable space. Please wait...";
        case DoCollectionCurrentOperationState::none:
            break;
    }
    return {};
}

std::string CollectionViewState::buttonAccessibilityValue() const {
    switch (buttonScanState) {
        case 1:
            return "scanning";
        case 2:
            return "scanned";
        default:
            return "idle";
    }
}

}  // namespace korvex
