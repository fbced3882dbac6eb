#pragma once

#include "diagram/SectorItem.h"

#include <memory>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace korvex {

class RadialController;

// The context menu of the sector under the pointer, and of a node chosen in
// the lists beside the diagram: viewing commands, the removal collection,
// favourites, navigation and purgeable space, or the scan of a target that
// has none yet. Items are validated against the node the menu opened on.
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
        Scan,
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
    // The same items for a node of the lists, as if its sector were pointed.
    std::vector<Entry> validateEntriesFor(const ItemRef& node);
    void perform(Command command);
    // A menu of the visible entries; its actions perform their command.
    std::unique_ptr<QMenu> buildMenu(QWidget* parent);
    std::unique_ptr<QMenu> buildMenuFor(const ItemRef& node, QWidget* parent);
    const SectorItem& menuSector() const { return mSector; }

  private:
    std::vector<Entry> entriesFor(const SectorItem& sector);
    std::unique_ptr<QMenu> menuOf(const std::vector<Entry>& entries, QWidget* parent);
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
