#include "cleanup/operations/OperationsManager.h"
#include "platform/dispatch/MainQueue.h"
#include "support/ScannedTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace korvex {
namespace {

namespace fs = std::filesystem;

class ListSource : public CollectedItemsSource {
  public:
    explicit ListSource(ItemList items) : mItems(std::move(items)) {}
    ItemList getItems() const override { return mItems; }
    ItemList mItems;
};

class RecordingCollection : public OperationsCollection {
  public:
    void askDestinationFolderForAction(
        CollectionAction, std::function<void(std::optional<std::string>)> answer) override {
        answer(destination);
    }
    void operationModelDidStartAction(CollectionAction action) override {
        started.push_back(action);
    }
    void operationModelShowUI(bool afterError) override { shownUI.push_back(afterError); }
    void operationModelDidFinishWithUI(bool withUI) override { finished.push_back(withUI); }
    void updateOnOperationComplete(const std::map<std::string, std::vector<CopiedFileItem>>& made,
                                   const std::vector<std::string>& removed,
                                   const std::vector<std::string>& processed) override {
        created = made;
        removedPaths = removed;
        processedPaths = processed;
    }

    std::optional<std::string> destination;
    std::vector<CollectionAction> started;
    std::vector<bool> shownUI;
    std::vector<bool> finished;
    std::map<std::string, std::vector<CopiedFileItem>> created;
    std::vector<std::string> removedPaths;
    std::vector<std::string> processedPaths;
};

// Unticks the rows named in `unticked`.
class NameTicks : public OperationItemSelectionHandler {
  public:
    bool isItemSelected(const OperationItem& item) const override {
        return unticked.count(item.name()) == 0;
    }
    std::set<std::string> unticked;
};

// A trash that is a plain folder, refusing the names it is told to: enough
// to follow what the removal does with each item.
FileOperations folderTrash(const std::string& trash, std::set<std::string> refused = {}) {
    FileOperations files = FileOperations::system();
    files.trashItem = [trash, refused](const std::string& path) -> std::optional<OperationError> {
        const std::string name = fs::path(path).filename();
        if (refused.count(name))
            return posixError(EPERM);
        fs::rename(path, fs::path(trash) / name);
        return std::nullopt;
    };
    return files;
}

class OperationsManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("src/a.txt", 4000);
        tree.files().file("src/b.txt", 6000);
        tree.files().file("other/a.txt", 2000);
        tree.files().file("dest/a.txt", 10);
        tree.files().file("dest/a 2.txt", 10);
        trash = tree.files().folder("trash");
        dest = tree.files().path("dest");
        tree.scan();
    }
    ItemRef node(std::string_view relative) { return tree.node(relative); }
    std::shared_ptr<OperationsManager> manager(
        ItemList items, CollectionAction action, FileOperations files,
        std::shared_ptr<RefusedRemovalRetrier> retrier = {}) {
        return std::make_shared<OperationsManager>(std::make_shared<ListSource>(std::move(items)),
                                                   action, &collection,
                                                   OperationPerformerBuilder(files, retrier));
    }
    void waitForFinish() {
        ASSERT_TRUE(platform::MainQueue::shared().runUntil(
            [&] { return !collection.finished.empty(); }, std::chrono::seconds(20)));
    }
    // Runs the operations without the review sheet, to their end.
    void runToEnd(OperationsManager& ops) {
        ops.performOpeationsWithUI(false);
        waitForFinish();
    }

    test::ScannedTree tree;
    std::string trash;
    std::string dest;
    RecordingCollection collection;
};

TEST_F(OperationsManagerTest, RemovingCountsAVanishedItemAsRemoved) {
    const std::string gone = tree.files().path("src/b.txt");
    collection.destination = trash;
    auto ops = manager({node("src/a.txt"), node("src/b.txt")}, CollectionAction::remove,
                       folderTrash(trash));
    fs::remove(gone);
    runToEnd(*ops);

    EXPECT_TRUE(fs::exists(fs::path(trash) / "a.txt"));
    EXPECT_EQ(collection.removedPaths.size(), 2u);
    const auto done = std::get<OperationCompleted>(ops->state());
    EXPECT_EQ(done.succeeded, 2);
    EXPECT_EQ(done.failed, 0);
    EXPECT_EQ(done.totalSize, node("src/a.txt")->gettotalsize() + ops->items()[1]->size());
    EXPECT_EQ(collection.finished, std::vector<bool>{false});
    EXPECT_TRUE(collection.shownUI.empty()) << "a clean fast removal shows no sheet";
    EXPECT_EQ(collection.started, std::vector<CollectionAction>{CollectionAction::remove});
}

class RetryAll : public RefusedRemovalRetrier {
  public:
    void retry(const OperationItems& failed, std::function<void(const OperationItemRef&)> didRemove,
               std::function<void()> completion) override {
        handed = failed;
        for (const auto& item : failed) {
            fs::remove(item->path());
            didRemove(item);
        }
        completion();
    }
    OperationItems handed;
};

TEST_F(OperationsManagerTest, RefusedItemsGoToTheRetrierOrEndFailedAndOpenTheSheet) {
    collection.destination = trash;
    auto retrier = std::make_shared<RetryAll>();
    auto ops = manager({node("src/a.txt"), node("src/b.txt")}, CollectionAction::remove,
                       folderTrash(trash, {"b.txt"}), retrier);
    runToEnd(*ops);
    ASSERT_EQ(retrier->handed.size(), 1u);
    EXPECT_EQ(retrier->handed[0]->name(), "b.txt");
    EXPECT_EQ(std::get<OperationCompleted>(ops->state()).failed, 0);
    EXPECT_FALSE(fs::exists(tree.files().path("src/b.txt")));

    // Without a retrier the refusal stays, and the results are shown.
    collection.finished.clear();
    auto alone =
        manager({node("other/a.txt")}, CollectionAction::remove, folderTrash(trash, {"a.txt"}));
    runToEnd(*alone);
    const OperationResult errorState = alone->items()[0]->state();
    const auto* error = failureOf(errorState);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, EPERM);
    EXPECT_TRUE(fs::exists(tree.files().path("other/a.txt")));
    EXPECT_EQ(collection.shownUI, std::vector<bool>{true});
    EXPECT_EQ(collection.finished, std::vector<bool>{true});
    EXPECT_EQ(alone->viewRepresentation().groups().at(0).name, "Not removed items");
}

TEST_F(OperationsManagerTest, CopyingPicksFreeNumberedNamesAndWarns) {
    collection.destination = dest;
    auto ops = manager({node("src/a.txt"), node("other/a.txt")}, CollectionAction::copy,
                       FileOperations::system());
    runToEnd(*ops);

    EXPECT_TRUE(fs::exists(dest + "/a 3.txt"));
    EXPECT_TRUE(fs::exists(dest + "/a 4.txt")) << "two items of one name get distinct names";
    EXPECT_EQ(fs::file_size(dest + "/a 3.txt"), 4000u);
    EXPECT_TRUE(fs::exists(tree.files().path("src/a.txt"))) << "a copy leaves its source";
    const OperationResult warningState = ops->items()[0]->state();
    const auto* warning = warningOf(warningState);
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->title, "The copied file was renamed");
    EXPECT_NE(warning->message.find("\"a 3.txt\""), std::string::npos);
    ASSERT_EQ(collection.created.count(dest), 1u);
    EXPECT_EQ(collection.created[dest].size(), 2u);
    EXPECT_EQ(collection.created[dest][0].getName(), "a 3.txt");
    EXPECT_TRUE(collection.removedPaths.empty());
    EXPECT_EQ(collection.shownUI, std::vector<bool>{true}) << "warnings open the sheet";
}

TEST_F(OperationsManagerTest, MovingAMissingSourceFailsWithItsMessage) {
    collection.destination = dest;
    auto ops = manager({node("src/b.txt"), node("src/a.txt")}, CollectionAction::move,
                       FileOperations::system());
    fs::remove(tree.files().path("src/b.txt"));
    runToEnd(*ops);
    const OperationResult errorState = ops->items()[0]->state();
    const auto* error = failureOf(errorState);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->description, "Cannot move the selected file because it doesn't exist");
    EXPECT_TRUE(fs::exists(dest + "/a 3.txt"));
    EXPECT_EQ(collection.removedPaths, std::vector<std::string>{tree.files().path("src/a.txt")});
}

TEST_F(OperationsManagerTest, CancellingTheFolderPanelPerformsNothing) {
    auto ops = manager({node("src/a.txt")}, CollectionAction::move, FileOperations::system());
    ops->performOpeationsWithUI(false);
    EXPECT_TRUE(std::holds_alternative<OperationInReview>(ops->state()));
    EXPECT_FALSE(ops->isBusy());
    EXPECT_TRUE(fs::exists(tree.files().path("src/a.txt")));
    platform::MainQueue::shared().runPending();
    EXPECT_TRUE(collection.finished.empty());
    EXPECT_TRUE(collection.started.empty()) << "no \"Moving, please wait\" without a folder";
}

TEST_F(OperationsManagerTest, TheSheetDropsUntickedItemsBeforeTheStart) {
    collection.destination = trash;
    auto ops = manager({node("src/a.txt"), node("src/b.txt")}, CollectionAction::remove,
                       folderTrash(trash));
    ops->performOpeationsWithUI(true);
    EXPECT_EQ(collection.shownUI, std::vector<bool>{false});
    EXPECT_EQ(ops->viewRepresentation().title(), "Review and confirm removal");

    auto ticks = std::make_shared<NameTicks>();
    ticks->unticked = {"b.txt"};
    for (const auto& item : ops->items())
        item->setSelectionHandler(ticks);
    ops->startOperation();
    waitForFinish();
    ASSERT_EQ(ops->items().size(), 1u);
    EXPECT_TRUE(fs::exists(tree.files().path("src/b.txt")));
    EXPECT_FALSE(fs::exists(tree.files().path("src/a.txt")));
    EXPECT_EQ(collection.finished, std::vector<bool>{true});
    auto& view = ops->viewRepresentation();
    EXPECT_EQ(view.title(), "Moved to Trash");
    EXPECT_TRUE(view.isCongratulations());
    EXPECT_TRUE(view.offersTrash());
}

// The system's copy, but the names in `failOnce` are refused the first time,
// and the first name chosen for `raced` is taken by "another process" right
// after it was chosen.
FileOperations flakyCopies(std::set<std::string>* failOnce, std::string raced = {}) {
    FileOperations files = FileOperations::system();
    files.copyItem =
        [failOnce, raced, copy = files.copyItem](
            const std::string& source, const std::string& folder,
            const platform::NameChooser& chooser) -> std::variant<std::string, OperationError> {
        const std::string name = fs::path(source).filename();
        if (failOnce->erase(name))
            return posixError(EIO);
        if (name != raced)
            return copy(source, folder, chooser);
        auto takeFirst = [&](const std::vector<std::string>& taken) {
            std::string chosen = chooser(taken);
            if (taken.empty())
                std::ofstream(fs::path(folder) / chosen) << "another process";
            return chosen;
        };
        return copy(source, folder, takeFirst);
    };
    return files;
}

TEST_F(OperationsManagerTest, ANameTakenAfterItWasChosenIsKeptAndTheNextOneUsed) {
    std::set<std::string> none;
    collection.destination = dest;
    auto ops = manager({node("src/b.txt")}, CollectionAction::copy, flakyCopies(&none, "b.txt"));
    runToEnd(*ops);
    std::ifstream theirs(dest + "/b.txt");
    std::string text;
    std::getline(theirs, text);
    EXPECT_EQ(text, "another process");
    EXPECT_EQ(fs::file_size(dest + "/b 2.txt"), 6000u);
    const OperationResult state = ops->items()[0]->state();
    const auto* warning = warningOf(state);
    ASSERT_NE(warning, nullptr);
    EXPECT_NE(warning->message.find("\"b 2.txt\""), std::string::npos);
    ASSERT_EQ(collection.created[dest].size(), 1u);
    EXPECT_EQ(collection.created[dest][0].getName(), "b 2.txt");
}

TEST_F(OperationsManagerTest, ARetryReportsOnlyWhatItCopied) {
    std::set<std::string> failOnce{"b.txt"};
    collection.destination = dest;
    auto ops = manager({node("src/a.txt"), node("src/b.txt")}, CollectionAction::copy,
                       flakyCopies(&failOnce));
    runToEnd(*ops);
    ASSERT_EQ(std::get<OperationCompleted>(ops->state()).failed, 1);
    ASSERT_EQ(collection.created[dest].size(), 1u);
    EXPECT_EQ(collection.created[dest][0].getName(), "a 3.txt");

    collection.finished.clear();
    ops->startOperation();  // Retry from the sheet
    waitForFinish();
    EXPECT_EQ(std::get<OperationCompleted>(ops->state()).failed, 0);
    ASSERT_EQ(collection.created[dest].size(), 1u) << "a.txt was reported already";
    EXPECT_EQ(collection.created[dest][0].getName(), "b.txt");
    EXPECT_FALSE(fs::exists(dest + "/a 4.txt")) << "the done item is not copied again";
}

}  // namespace
}  // namespace korvex
