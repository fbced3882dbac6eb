#pragma once

#include "diagram/SectorItem.h"

#include <memory>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace korvex {

class RadialController;

// The context menu of the sector under the pointer: viewing commands, the
// removal collection, favourites, navigation and purgeable space. Items are
// validated against the sector pointed at when the menu opened.
class DiagramContextMenuController {
  public:
    enum class Command {
        ShowInFileManager,
        GetInformation,
        Preview,
        CopyPath,
        FreeUpPurgeableSpace,
        ReadAbout,
        SelectDeselect,
        AddToFavorites,
        QuickRemove,
        MoveToFolder,
        CopyToFolder,
        GoToFolder,
        GoToParentFolder,
        GoToRootFolder,
    };
    struct Entry {
        Command command;
        std::string title;
        bool visible = true;
        bool enabled = false;
    };

    explicit DiagramContextMenuController(RadialController& diagram);

    // Takes the pointed sector and answers every item, in menu order.
    std::vector<Entry> validateEntries();
    void perform(Command command);
    // A menu of the visible entries; its actions perform their command.
    std::unique_ptr<QMenu> buildMenu(QWidget* parent);
    const SectorItem& menuSector() const { return mSector; }

  private:
    ItemRef pointedItem() const;
    ItemRef target() const;
    // Each answers whether the command was its own (done, or ignored when
    // the window gave no host or collection).
    bool performHostCommand(Command command, FileSystemItem& t);
    bool performCollectionCommand(Command command, const ItemRef& t);

    RadialController& mDiagram;
    SectorItem mSector;
};

}  // namespace korvex
