#include "diagram/DiagramContextMenuController.h"
#include "diagram/DiagramViewFixture.h"
#include "scan/targets/VolumeItem.h"
#include "scan/tree/SpecialSystemItem.h"

#include <QAction>
#include <QMenu>

#include <set>

namespace korvex {
namespace {

using namespace test;
using Command = DiagramContextMenuController::Command;

class ContextMenu : public DiagramView {
  protected:
    std::vector<DiagramContextMenuController::Entry> openAt(QPoint point) {
        QRectF dirty;
        controller.OperateMousePoint(point, dirty);
        return view->menuController().validateEntries();
    }
    static std::set<std::string> enabledTitles(
        const std::vector<DiagramContextMenuController::Entry>& entries) {
        std::set<std::string> titles;
        for (const auto& entry : entries) {
            if (entry.visible && entry.enabled) {
                titles.insert(entry.title);
            }
        }
        return titles;
    }
    static const DiagramContextMenuController::Entry& find(
        const std::vector<DiagramContextMenuController::Entry>& entries, Command command) {
        return entries[static_cast<std::size_t>(command)];
    }
    MarkingCollection collection;
};

TEST_F(ContextMenu, OnlyReadAboutForInaccessibleSpace) {
    FolderRef root = sampleTree();
    SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, root.get(), "Inaccessible",
                                    3000);
    showTree(root);
    controller.setCollectionActions(&collection);
    // The special node sorts last: it is the last quarter of the ring.
    auto entries = openAt(pointOn(1, 0.95));
    ASSERT_TRUE(controller.pointedItem() != nullptr && controller.pointedItem()->isInaccessible());
    EXPECT_EQ(enabledTitles(entries), std::set<std::string>{"Read about"});
    EXPECT_FALSE(find(entries, Command::SelectDeselect).visible);
    view->menuController().perform(Command::ReadAbout);
    EXPECT_EQ(host.calls, std::vector<std::string>{"read about"});
}

TEST_F(ContextMenu, PurgeableSpaceCanBeFreedOnlyWhenNoScanRuns) {
    FolderRef root = sampleTree();
    SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, root.get(), "Purgeable", 3000);
    showTree(root);
    controller.setCollectionActions(&collection);
    // Wherever the special node was placed in the ring, the pointer finds it.
    double purgeableAt = -1;
    for (int step = 0; step < 200 && purgeableAt < 0; ++step) {
        openAt(pointOn(1, step / 200.0));
        if (controller.pointedItem() != nullptr && controller.pointedItem()->isPurgeable())
            purgeableAt = step / 200.0;
    }
    ASSERT_GE(purgeableAt, 0) << "the purgeable sector is never pointed at";
    auto entries = openAt(pointOn(1, purgeableAt));
    EXPECT_TRUE(find(entries, Command::FreeUpPurgeableSpace).visible);
    EXPECT_TRUE(find(entries, Command::FreeUpPurgeableSpace).enabled);
    EXPECT_FALSE(find(entries, Command::SelectDeselect).visible) << "purgeable space is not a file";
    EXPECT_FALSE(find(entries, Command::ShowInFileManager).enabled);
    view->menuController().perform(Command::FreeUpPurgeableSpace);
    EXPECT_EQ(host.calls, std::vector<std::string>{"purge"});

    host.state = 1;
    entries = openAt(pointOn(1, purgeableAt));
    EXPECT_FALSE(find(entries, Command::FreeUpPurgeableSpace).enabled);
    entries = openAt(pointOn(0, 0));
    EXPECT_FALSE(find(entries, Command::FreeUpPurgeableSpace).visible)
        << "only for purgeable space";
}

TEST_F(ContextMenu, WhileTheShownTargetIsScannedOnlyViewingIsOffered) {
    FolderRef root = showSample();
    controller.setCollectionActions(&collection);
    host.state = 2;
    auto entries = openAt(pointOn(1, 0.25));
    EXPECT_EQ(enabledTitles(entries), (std::set<std::string>{"Show in File Manager", "Properties",
                                                             "Preview", "Copy Path"}));
    host.state = 0;
    entries = openAt(pointOn(1, 0.25));
    EXPECT_TRUE(enabledTitles(entries).count("Move to Folder..."));
    EXPECT_TRUE(enabledTitles(entries).count("Go to Folder"));
    // Another target being scanned still holds back the file operations.
    host.state = 1;
    entries = openAt(pointOn(1, 0.25));
    EXPECT_FALSE(enabledTitles(entries).count("Quick Remove"));
    EXPECT_TRUE(enabledTitles(entries).count("Select"));
}

TEST_F(ContextMenu, GoToParentOnlyOnTheRootOrNothing) {
    FolderRef root = showSample();
    controller.setRoot(ItemRef(docs), true);
    auto onNode = openAt(pointOn(1, 0.2));
    ASSERT_NE(controller.pointedItem(), nullptr);
    EXPECT_FALSE(find(onNode, Command::GoToParentFolder).visible);
    EXPECT_TRUE(find(onNode, Command::GoToFolder).visible);
    auto onRoot = openAt(controller.center().toPoint());
    EXPECT_TRUE(find(onRoot, Command::GoToParentFolder).visible);
    EXPECT_TRUE(find(onRoot, Command::GoToParentFolder).enabled);
    EXPECT_FALSE(find(onRoot, Command::GoToFolder).visible);
    auto onNothing = openAt(QPoint(2, 2));
    EXPECT_TRUE(find(onNothing, Command::GoToParentFolder).visible);
    view->menuController().perform(Command::GoToParentFolder);
    EXPECT_EQ(controller.drillState(), 2);
    EXPECT_EQ(controller.root(), root);
}

TEST_F(ContextMenu, CollectionItemsNeedACollectionAndFollowItsMarks) {
    FolderRef root = showSample();
    const ItemRef big = child(root, "big");
    ASSERT_NE(big, nullptr);
    auto withoutCollection = openAt(pointOn(1, 0.7));
    for (Command command : {Command::SelectDeselect, Command::QuickRemove, Command::MoveToFolder,
                            Command::CopyToFolder}) {
        EXPECT_FALSE(find(withoutCollection, command).enabled);
    }
    controller.setCollectionActions(&collection);
    auto entries = openAt(pointOn(1, 0.7));
    EXPECT_EQ(find(entries, Command::SelectDeselect).title, "Select");
    view->menuController().perform(Command::SelectDeselect);
    EXPECT_TRUE(big->isCollected());
    entries = openAt(pointOn(1, 0.7));
    EXPECT_EQ(find(entries, Command::SelectDeselect).title, "Deselect");
    view->menuController().perform(Command::QuickRemove);
    EXPECT_EQ(collection.removed, ItemList{big});
    // A root without a parent cannot be collected.
    entries = openAt(controller.center().toPoint());
    EXPECT_FALSE(find(entries, Command::SelectDeselect).enabled);
}

TEST_F(ContextMenu, ANodeInsideACollectedFolderCannotBeDeselectedAlone) {
    FolderRef root = showSample();
    controller.setCollectionActions(&collection);
    ItemRef x = docs->childAtIndex(0);
    docs->setCollected(true);
    // Pointed in the diagram and chosen in a list alike.
    for (const auto& entries :
         {openAt(pointOn(2, 0.1)), view->menuController().validateEntriesFor(x)}) {
        ASSERT_EQ(view->menuController().menuSector().m_pItem, x);
        EXPECT_EQ(find(entries, Command::SelectDeselect).title, "Deselect");
        EXPECT_FALSE(find(entries, Command::SelectDeselect).enabled);
    }
    auto onDocs = openAt(pointOn(1, 0.1));
    EXPECT_TRUE(find(onDocs, Command::SelectDeselect).enabled);
    view->menuController().perform(Command::SelectDeselect);
    EXPECT_FALSE(docs->isCollected());
}

TEST_F(ContextMenu, AnUnscannedTargetOffersItsScan) {
    controller.setRoot(std::make_shared<VolumeItem>("/", "File System", 1000, 400, 0));
    for (QPoint at : {controller.center().toPoint(), pointOn(1, 0.3), QPoint(2, 2)}) {
        auto entries = openAt(at);
        EXPECT_EQ(enabledTitles(entries), std::set<std::string>{"Scan"});
        for (const auto& entry : entries) {
            EXPECT_EQ(entry.visible, entry.command == Command::Scan) << entry.title;
        }
    }
    view->menuController().perform(Command::Scan);
    EXPECT_EQ(host.calls, std::vector<std::string>{"rescan"});
    // Another scan holds it back until it ends.
    host.scanning = true;
    EXPECT_FALSE(find(openAt(pointOn(1, 0.3)), Command::Scan).enabled);
    view->menuController().perform(Command::Scan);
    EXPECT_EQ(host.calls.size(), 1u);
}

TEST_F(ContextMenu, AListedNodeGetsTheMenuOfItsSector) {
    FolderRef root = showSample();
    controller.setCollectionActions(&collection);
    // The pointer stays elsewhere: the menu is the node's, not the pointed one's.
    openAt(pointOn(1, 0.7));
    auto entries = view->menuController().validateEntriesFor(ItemRef(docs));
    EXPECT_TRUE(find(entries, Command::GoToFolder).enabled);
    EXPECT_FALSE(find(entries, Command::GoToParentFolder).visible);
    std::unique_ptr<QMenu> menu = view->menuController().buildMenuFor(ItemRef(docs), view.get());
    for (QAction* action : menu->actions()) {
        EXPECT_NE(action->text(), "Go to Parent Folder") << "hidden entries stay out of the menu";
        if (action->text() == "Show in File Manager") {
            action->trigger();
        }
    }
    EXPECT_EQ(host.calls, std::vector<std::string>{"reveal /data/docs"});
    view->menuController().perform(Command::GoToFolder);
    EXPECT_EQ(controller.drillState(), 1) << "zooms into the listed folder";
}

TEST_F(ContextMenu, FavouritesAreOfferedForFoldersOnly) {
    FolderRef root = showSample();
    EXPECT_FALSE(find(openAt(pointOn(1, 0.7)), Command::AddToFavorites).enabled);
    auto onDocs = openAt(pointOn(1, 0.2));
    EXPECT_TRUE(find(onDocs, Command::AddToFavorites).enabled);
    EXPECT_EQ(find(onDocs, Command::AddToFavorites).title, "Add Folder to Favorites");
    host.favorite = "/data/docs";
    onDocs = openAt(pointOn(1, 0.2));
    EXPECT_EQ(find(onDocs, Command::AddToFavorites).title, "Remove Folder from Favorites");
    view->menuController().perform(Command::AddToFavorites);
    EXPECT_EQ(host.calls, std::vector<std::string>{"unfavorite /data/docs"});
}

}  // namespace
}  // namespace korvex
