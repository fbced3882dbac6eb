#include "diagram/DiagramContextMenuController.h"

#include "browse/contents/SelectionAvailability.h"
#include "diagram/DiagramContextMenuLocalizable.h"
#include "diagram/RadialController.h"

#include <QMenu>

namespace korvex {

namespace M = DiagramContextMenuLocalizable;

namespace {

std::string text(const platform::TextEntry& entry) {
    return platform::localized(M::kTable, entry);
}

}  // namespace

DiagramContextMenuController::DiagramContextMenuController(RadialController& diagram)
    : mDiagram(diagram) {}

ItemRef DiagramContextMenuController::pointedItem() const {
    return mSector.marker ? nullptr : mSector.m_pItem;
}

ItemRef DiagramContextMenuController::target() const {
    ItemRef pointed = pointedItem();
    return pointed != nullptr ? pointed : mDiagram.root();
}

std::vector<DiagramContextMenuController::Entry> DiagramContextMenuController::validateEntries() {
    return entriesFor(mDiagram.pointedSector());
}

std::vector<DiagramContextMenuController::Entry> DiagramContextMenuController::validateEntriesFor(
    const ItemRef& node) {
    SectorItem sector;
    // A node below the drawn rings has no sector of its own: the menu still
    // acts on the node, and a zoom into it starts from the centre.
    if (!mDiagram.fillSectorItem(sector, node.get()) || sector.m_pItem != node) {
        sector.cleanSector();
        sector.m_pItem = node;
    }
    return entriesFor(sector);
}

std::vector<DiagramContextMenuController::Entry> DiagramContextMenuController::entriesFor(
    const SectorItem& sector) {
    mSector = sector;
    std::vector<Entry> entries = {
        {Command::ShowInFileManager, text(M::kShowInFileManager)},
        {Command::GetInformation, text(M::kGetInformation)},
        {Command::Preview, text(M::kPreview)},
        {Command::CopyPath, text(M::kCopyPath)},
        {Command::FreeUpPurgeableSpace, text(M::kFreeUpPurgeable)},
        {Command::ReadAbout, text(M::kReadAbout), false},
        {Command::SelectDeselect, text(M::kSelect)},
        {Command::AddToFavorites, text(M::kAddToFavorites)},
        {Command::QuickRemove, text(M::kQuickRemove)},
        {Command::MoveToFolder, text(M::kMoveToFolder)},
        {Command::CopyToFolder, text(M::kCopyToFolder)},
        {Command::GoToFolder, text(M::kGoToFolder)},
        {Command::GoToParentFolder, text(M::kGoToParentFolder)},
        {Command::GoToRootFolder, text(M::kGoToRootFolder)},
        {Command::Scan, text(M::kScan), false},
    };
    auto entry = [&entries](Command command) -> Entry& {
        return entries[static_cast<std::size_t>(command)];
    };
    DiagramHost* host = mDiagram.host();
    const ItemRef root = mDiagram.root();
    if (root == nullptr) {
        // A target without a scan has nothing to act on but its scan.
        if (mDiagram.unscannedTarget() != nullptr) {
            for (Entry& hidden : entries) {
                hidden.visible = false;
            }
            entry(Command::Scan).visible = true;
            entry(Command::Scan).enabled = host != nullptr && !host->isScanning();
        }
        return entries;
    }
    const ItemRef p = pointedItem();
    const ItemRef t = target();
    const bool pIsRoot = p == nullptr || p == root;
    entry(Command::GoToFolder).visible = !pIsRoot;
    entry(Command::GoToParentFolder).visible = pIsRoot;
    entry(Command::FreeUpPurgeableSpace).visible = p != nullptr && p->isPurgeable();
    if (p != nullptr && p->isInaccessible()) {
        entry(Command::ReadAbout).visible = true;
        entry(Command::ReadAbout).enabled = true;
        entry(Command::SelectDeselect).visible = false;
        entry(Command::FreeUpPurgeableSpace).visible = false;
        return entries;
    }
    const bool viewable = p == nullptr || !p->isPurgeable();
    for (Command command : {Command::ShowInFileManager, Command::GetInformation, Command::Preview,
                            Command::CopyPath}) {
        entry(command).enabled = viewable;
    }
    const std::int64_t state = host != nullptr ? host->scanningState() : 0;
    const bool rootHasParent = root->getParent() != nullptr;
    const bool tUsable = !t->isPurgeable() && (t != root || rootHasParent);
    const bool collected = mDiagram.isCollectedOrUnderCollected(*t);
    // Only the collected folder itself leaves the collection, not a node in it.
    const bool onlyUnderCollected = collected && !t->isCollected();
    Entry& select = entry(Command::SelectDeselect);
    select.title = text(collected ? M::kDeselect : M::kSelect);
    select.visible = !t->isPurgeable();
    Entry& favorite = entry(Command::AddToFavorites);
    const std::string path = t->fullPath();
    if (host != nullptr && host->isFolderFavorite(path)) {
        favorite.title = text(M::kRemoveFromFavorites);
    }
    if (state == 2) {
        return entries;
    }
    entry(Command::GoToFolder).enabled = p != nullptr && p->isDirectory();
    entry(Command::GoToParentFolder).enabled = rootHasParent;
    entry(Command::GoToRootFolder).enabled = rootHasParent;
    DiagramCollectionActions* collection = mDiagram.collectionActions();
    if (state == 0 && tUsable && collection != nullptr) {
        entry(Command::MoveToFolder).enabled = canPerformWithAction(*t, CollectionAction::move);
        entry(Command::CopyToFolder).enabled = canPerformWithAction(*t, CollectionAction::copy);
        entry(Command::QuickRemove).enabled = canPerformWithAction(*t, CollectionAction::remove);
    }
    select.enabled = collection != nullptr && (t != root || rootHasParent) && !onlyUnderCollected &&
                     (collected || isItemSelectable(*t));
    entry(Command::FreeUpPurgeableSpace).enabled = state == 0 && host != nullptr;
    favorite.enabled = host != nullptr && t->isDirectory() && !t->isVol() &&
                       !t->isTopHiddenFlag() && !t->isTopTrashFlag() &&
                       (t != root || rootHasParent);
    return entries;
}

void DiagramContextMenuController::perform(Command command) {
    if (command == Command::Scan) {
        if (DiagramHost* host = mDiagram.host(); host != nullptr && !host->isScanning()) {
            host->rescanSelectedTarget();
        }
        return;
    }
    const ItemRef t = target();
    if (t == nullptr || performHostCommand(command, *t) || performCollectionCommand(command, t)) {
        return;
    }
    switch (command) {
        case Command::CopyPath:
            mDiagram.copyFilePathForItem(t.get());
            break;
        case Command::GoToFolder:
            mDiagram.goTo(mSector);
            break;
        case Command::GoToParentFolder:
            if (FolderSystemItem* parent = mDiagram.root()->getParent()) {
                mDiagram.moveUpTo(parent);
            }
            break;
        case Command::GoToRootFolder:
            if (FileSystemItem* top = mDiagram.root()->getTopParent()) {
                mDiagram.moveUpTo(top);
            }
            break;
        default:
            break;
    }
}

bool DiagramContextMenuController::performHostCommand(Command command, FileSystemItem& t) {
    DiagramHost* host = mDiagram.host();
    switch (command) {
        case Command::ShowInFileManager:
        case Command::GetInformation:
        case Command::Preview:
        case Command::FreeUpPurgeableSpace:
        case Command::ReadAbout:
        case Command::AddToFavorites:
            break;
        default:
            return false;
    }
    if (host == nullptr) {
        return true;
    }
    switch (command) {
        case Command::ShowInFileManager:
            host->revealItem(t);
            break;
        case Command::GetInformation:
            host->showItemProperties(t);
            break;
        case Command::Preview:
            host->previewItem(t);
            break;
        case Command::FreeUpPurgeableSpace:
            host->freeUpPurgeableSpace(t);
            break;
        case Command::ReadAbout:
            host->readAboutInaccessibleSpace();
            break;
        default:
            host->setFolderFavorite(t.fullPath(), !host->isFolderFavorite(t.fullPath()));
            break;
    }
    return true;
}

bool DiagramContextMenuController::performCollectionCommand(Command command, const ItemRef& t) {
    DiagramCollectionActions* collection = mDiagram.collectionActions();
    switch (command) {
        case Command::SelectDeselect:
        case Command::QuickRemove:
        case Command::MoveToFolder:
        case Command::CopyToFolder:
            break;
        default:
            return false;
    }
    if (collection == nullptr) {
        return true;
    }
    switch (command) {
        case Command::SelectDeselect:
            if (t->isCollected()) {
                collection->removeFromCollectionItem(t);
            } else {
                collection->addItemsToCollection({t});
            }
            break;
        case Command::QuickRemove:
            collection->perfromRemoveWithItems({t});
            break;
        case Command::MoveToFolder:
            collection->performMoveToFolderWithItems({t});
            break;
        default:
            collection->performCopyToFolderWithItems({t});
            break;
    }
    return true;
}

std::unique_ptr<QMenu> DiagramContextMenuController::buildMenu(QWidget* parent) {
    return menuOf(validateEntries(), parent);
}

std::unique_ptr<QMenu> DiagramContextMenuController::buildMenuFor(const ItemRef& node,
                                                                  QWidget* parent) {
    return menuOf(validateEntriesFor(node), parent);
}

std::unique_ptr<QMenu> DiagramContextMenuController::menuOf(const std::vector<Entry>& entries,
                                                            QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    for (const Entry& entry : entries) {
        if (!entry.visible) {
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(entry.title));
        action->setEnabled(entry.enabled);
        const Command command = entry.command;
        QObject::connect(action, &QAction::triggered, menu.get(),
                         [this, command] { perform(command); });
        if (command == Command::ReadAbout || command == Command::CopyToFolder ||
            command == Command::CopyPath) {
            menu->addSeparator();
        }
    }
    return menu;
}

}  // namespace korvex
