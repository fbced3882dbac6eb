#include "cleanup/collection/DoCollectionController.h"
#include "support/ScannedTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace korvex {
namespace {

namespace fs = std::filesystem;

// The scanned tree as the window would hold it, without a window.
class TreeTarget : public CollectionTreeTarget {
  public:
    explicit TreeTarget(test::ScannedTree& scanned) : mScanned(scanned) {}
    ItemRef getItemByFilePath(const std::string& path) override {
        return mScanned.root()->getItemByFilePath(path);
    }
    ItemRef rootItem() const override { return root; }
    void setRoot(const ItemRef& newRoot) override { root = newRoot; }
    bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                     ItemList& resItems) override {
        return mScanned.root()->updateRemovingItemsByPaths(paths, resItems);
    }
    bool updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                     const std::string& toFolder, ItemList& resItems) override {
        return mScanned.root()->addFileItems(items, toFolder, resItems);
    }
    void updateAddedItemsToCollection(const std::vector<std::string>&) override {}
    void updateRemovedItemsInCollection(const std::vector<std::string>&) override {}
    void updateDiagramAfterRemovingItems(const ItemList& items) override {
        cut.insert(cut.end(), items.begin(), items.end());
    }
    void updateDiagramAfterAddingItems(const ItemList& items) override {
        grown.insert(grown.end(), items.begin(), items.end());
    }
    void startCutAnimation() override { ++animations; }
    void redrawDiagram() override {}
    void reloadLists() override {}
    void refreshListMarks() override {}
    void showPreviewFor(const std::string&) override {}
    bool isScanning() const override { return scanning; }
    bool rootNeedsScan() const override { return !root; }
    void startScan() override { ++scansStarted; }
    void stopScan() override { ++scansStopped; }

    ItemRef root;
    ItemList cut, grown;
    int animations = 0, scansStarted = 0, scansStopped = 0;
    bool scanning = false;

  private:
    test::ScannedTree& mScanned;
};

class ScriptedViews : public CollectionViews {
  public:
    void showCollectionAlert(const std::string& message, const std::string&, bool,
                             std::function<void(bool)> answer) override {
        alerts.push_back(message);
        answer(false);
    }
    void chooseDestinationFolder(CollectionAction,
                                 std::function<void(std::optional<std::string>)> answer) override {
        ++panelsShown;
        std::optional<std::string> next;
        if (!folders.empty()) {
            next = folders.front();
            folders.erase(folders.begin());
        }
        answer(next);
    }
    void showFolderIsCollectedAlert(CollectionAction, const std::string& folder,
                                    std::function<void(bool)> answer) override {
        refusedFolders.push_back(folder);
        answer(true);
    }
    void showReviewSheet(const std::shared_ptr<OperationsManager>& manager,
                         ActionTypeMenuController&, std::function<void()> dismissed) override {
        sheetManager = manager;
        dismiss = std::move(dismissed);
    }
    bool isReviewSheetVisible() const override { return sheetManager != nullptr; }
    void startReviewSheetOperation() override { sheetManager->startOperation(); }
    void collectionViewStateChanged(const CollectionViewState& state) override { last = state; }

    std::vector<std::string> alerts;
    std::vector<std::optional<std::string>> folders;
    std::vector<std::string> refusedFolders;
    int panelsShown = 0;
    std::shared_ptr<OperationsManager> sheetManager;
    std::function<void()> dismiss;
    CollectionViewState last;
};

// The names below `folder`, each with its size, as one text.
std::string outline(const FileSystemItem& node) {
    std::string text = std::string(node.name()) + "=" + std::to_string(node.gettotalsize());
    if (const auto* folder = dynamic_cast<const FolderSystemItem*>(&node)) {
        std::vector<std::string> lines;
        for (const ItemRef& child : folder->childrenArray())
            lines.push_back(outline(*child));
        std::sort(lines.begin(), lines.end());
        text += "{";
        for (const std::string& line : lines)
            text += line + ";";
        text += "}";
    }
    return text;
}

class DoCollectionControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scanned.files().file("docs/a.txt", 40000);
        scanned.files().file("docs/sub/b.txt", 20000);
        scanned.files().file("keep/c.txt", 8000);
        dest = scanned.files().folder("dest");
        trash = scanned.files().folder("trash");
        scanned.scan();
        tree.root = scanned.root();
        FileOperations files = FileOperations::system();
        // The removals land in a plain folder, so the test never touches a real trash.
        files.trashItem = [this](const std::string& path) -> std::optional<OperationError> {
            fs::rename(path, fs::path(trash) / fs::path(path).filename());
            return std::nullopt;
        };
        // Copies of the names in `failOnce` are refused the first time.
        files.copyItem =
            [this, copy = files.copyItem](
                const std::string& source, const std::string& folder,
                const platform::NameChooser& chooser) -> std::variant<std::string, OperationError> {
            if (failOnce.erase(fs::path(source).filename()))
                return posixError(EIO);
            return copy(source, folder, chooser);
        };
        controller = std::make_unique<DoCollectionController>(
            tree, views, OperationPerformerBuilder(files, nullptr), trash);
    }
    ItemRef node(std::string_view relative) { return scanned.node(relative); }
    std::string path(std::string_view relative) { return scanned.files().path(relative); }
    // The corrected tree: totals that add up, and names and sizes as a
    // fresh scan of the disk finds them.
    void expectTreeMatchesARescan() {
        const FolderRef updated = scanned.root();
        const std::string corrected = outline(*updated);
        const std::int64_t total = updated->gettotalsize();
        EXPECT_EQ(updated->calctotalsize(), total) << "the totals add up";
        const FolderRef rescanned = scanned.scan();
        EXPECT_EQ(total, rescanned->gettotalsize());
        EXPECT_EQ(corrected, outline(*rescanned));
    }
    bool waitFor(const std::function<bool()>& done) {
        return platform::MainQueue::shared().runUntil(done, std::chrono::seconds(20));
    }

    test::TempSettings settings;
    test::ScannedTree scanned;
    std::string trash;
    std::string dest;
    TreeTarget tree{scanned};
    ScriptedViews views;
    std::set<std::string> failOnce;
    std::unique_ptr<DoCollectionController> controller;
};

// Runs the diagram's transitions to their end, as its animation would: what
// left shrinks to nothing and goes, what arrived grows to full size.
void finishTransitions(TreeTarget& tree) {
    for (const ItemRef& node : tree.cut) {
        const std::int64_t before = node->gettotalsize();
        node->setdrawkoef(0.0);
        node->getParent()->decreaseTotalSize(before - node->gettotalsize());
        node->getParent()->removeChild(node.get());
    }
    for (const ItemRef& node : tree.grown) {
        const std::int64_t before = node->gettotalsize();
        node->setdrawkoef(1.0);
        node->getParent()->increaseTotalSize(node->gettotalsize() - before);
        node->replaceToSuperItem();
    }
    tree.cut.clear();
    tree.grown.clear();
}

TEST_F(DoCollectionControllerTest, TheButtonFollowsScanningAndTheList) {
    EXPECT_EQ(views.last.buttonScanState, 2);
    EXPECT_EQ(views.last.buttonTitle, "Review to Remove");
    EXPECT_FALSE(views.last.buttonEnabled) << "nothing collected yet";

    controller->addItemsToCollection({node("docs/a.txt")});
    EXPECT_TRUE(views.last.buttonEnabled);
    EXPECT_TRUE(views.last.summaryVisible);
    EXPECT_EQ(views.last.count, 1);

    tree.scanning = true;
    controller->updateState();
    EXPECT_EQ(views.last.buttonTitle, "Stop Scanning");
    EXPECT_EQ(views.last.buttonAccessibilityValue(), "scanning");
    controller->onMainActionButtonPressed();
    EXPECT_EQ(tree.scansStopped, 1);
    EXPECT_FALSE(controller->canPerformMainMenuAction(5)) << "no removal while scanning";
    controller->doRemoveFiles();
    ASSERT_EQ(views.alerts.size(), 1u);
    EXPECT_EQ(views.alerts[0], "Cannot remove the selected files");

    controller->actionTypeMenuController().changeActionTypeTo(CollectionAction::copy);
    tree.scanning = false;
    controller->updateState();
    EXPECT_EQ(views.last.buttonTitle, "Review to Copy");
    EXPECT_TRUE(controller->canPerformMainMenuAction(3));
}

TEST_F(DoCollectionControllerTest, RemovalEmptiesTheListAndCorrectsTheTree) {
    controller->addItemsToCollection({node("docs")});
    controller->onMainActionButtonPressed();
    ASSERT_TRUE(views.sheetManager);
    controller->performMainMenuAction(5);  // the sheet is open: the command starts it
    ASSERT_TRUE(waitFor([&] { return views.last.count == 0 && tree.animations > 0; }));

    EXPECT_TRUE(fs::exists(fs::path(trash) / "docs" / "sub" / "b.txt"));
    // The folder leaves the tree as a cut item that the diagram's animation shrinks away.
    EXPECT_TRUE(node("docs")->isCutItem());
    EXPECT_FALSE(tree.cut.empty()) << "the diagram is told what left";
    EXPECT_TRUE(controller->isFileWasRemovedAfterLastOperationAtPath(path("docs")));
    views.dismiss();
    EXPECT_FALSE(controller->operationsManager());
}

TEST_F(DoCollectionControllerTest, TheDiagramRootClimbsOutOfARemovedFolder) {
    tree.root = node("docs/sub");
    controller->doDeleteItemsToTrash({node("docs")}, false);
    ASSERT_TRUE(waitFor([&] { return !controller->operationsManager(); }));
    EXPECT_EQ(tree.root, ItemRef(scanned.root()));
    EXPECT_EQ(controller->mainStorage().count(), 0u) << "an explicit list leaves the collection";
}

TEST_F(DoCollectionControllerTest, AFolderInsideTheCollectionIsRefusedAsDestination) {
    controller->addItemsToCollection({node("docs")});
    const std::string inside = path("docs/sub");
    views.folders = {inside, dest};
    controller->doCopyFilesToFolderForItems({node("keep/c.txt")});
    ASSERT_TRUE(waitFor([&] { return !controller->operationsManager(); }));
    EXPECT_EQ(views.refusedFolders, std::vector<std::string>{inside});
    EXPECT_EQ(views.panelsShown, 2) << "\"Choose another folder\" opens the panel again";
    EXPECT_TRUE(fs::exists(dest + "/c.txt"));
    EXPECT_TRUE(fs::exists(path("keep/c.txt")));
    ASSERT_TRUE(waitFor([&] { return !tree.grown.empty(); }));
    EXPECT_TRUE(scanned.root()->getItemByFilePath(dest + "/c.txt")) << "the copy joins the tree";
}

TEST_F(DoCollectionControllerTest, ARetriedCopyAddsOnlyWhatItMadeAndTheTreeMatchesARescan) {
    failOnce = {"sub"};
    views.folders = {dest, dest};
    controller->doCopyFilesToFolderForItems({node("docs/a.txt"), node("docs/sub")});
    ASSERT_TRUE(waitFor([&] { return views.sheetManager && !views.sheetManager->isBusy(); }));
    ASSERT_EQ(std::get<OperationCompleted>(views.sheetManager->state()).failed, 1);
    ASSERT_TRUE(waitFor([&] { return !tree.grown.empty(); }));
    finishTransitions(tree);

    views.startReviewSheetOperation();  // Retry
    ASSERT_TRUE(waitFor([&] {
        return !views.sheetManager->isBusy() && !tree.grown.empty() &&
               std::holds_alternative<OperationCompleted>(views.sheetManager->state());
    }));
    platform::MainQueue::shared().runPending();
    EXPECT_EQ(std::get<OperationCompleted>(views.sheetManager->state()).failed, 0);
    EXPECT_EQ(tree.grown.size(), 1u) << "only the folder copied by the retry arrives";
    finishTransitions(tree);

    expectTreeMatchesARescan();
}

TEST_F(DoCollectionControllerTest, AMovedFolderArrivesWithItsContents) {
    views.folders = {dest};
    controller->doMoveFilesFromArray({node("docs/sub")});
    ASSERT_TRUE(waitFor([&] { return !controller->operationsManager() && !tree.grown.empty(); }));
    ASSERT_TRUE(fs::exists(dest + "/sub/b.txt"));
    finishTransitions(tree);

    expectTreeMatchesARescan();
}

TEST_F(DoCollectionControllerTest, DroppedPathsSkipWhatCannotBeAdded) {
    controller->addItemsToCollection({node("docs")});
    EXPECT_TRUE(controller->addItemsByFilePaths(
        {path("docs/sub/b.txt"), path("keep/c.txt"), path("nowhere")}));
    std::vector<std::string> paths;
    ASSERT_TRUE(controller->getPathsArray(paths));
    EXPECT_EQ(paths, (std::vector<std::string>{path("docs"), path("keep/c.txt")}));
    EXPECT_TRUE(views.alerts.empty()) << "a drop skips collected descendants quietly";
}

}  // namespace
}  // namespace korvex
