#include "app/window/DiagramListCounts.h"

#include "browse/lists/ContentsPanel.h"
#include "browse/lists/OutlineListConrtoller.h"
#include "diagram/RadialController.h"

namespace korvex {

void countUnscannedItemsFromLists(RadialController& radial, ContentsPanel* contents) {
    if (contents == nullptr) {
        radial.setUnscannedItemsCounter(nullptr);
        return;
    }
    // The window controller, and the diagram controller with it, goes before
    // the panels: the columns outlive every question.
    const OutlineListConrtoller* columns = &contents->folderColumns();
    radial.setUnscannedItemsCounter([columns]() -> std::int64_t {
        return columns->countOfUnscannedFiles() + columns->countOfUnscannedFolders();
    });
}

}  // namespace korvex
