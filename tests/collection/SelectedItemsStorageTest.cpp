#include "cleanup/collection/CollectionAlerts.h"
#include "cleanup/collection/SelectedItemsStorage.h"
#include "support/ScannedTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <thread>

namespace korvex {
namespace {

struct RecordedAlert {
    std::string message;
    std::string informative;
};

class RecordingAlerts : public CollectionAlertPresenter {
  public:
    void showCollectionAlert(const std::string& message, const std::string& informative, bool,
                             std::function<void(bool)> answer) override {
        shown.push_back({message, informative});
        answer(tickSuppress);
    }
    std::vector<RecordedAlert> shown;
    bool tickSuppress = false;
};

class RecordingListener : public SelectedItemsStorageListener {
  public:
    void selectedItemsStorage(SelectedItemsStorage&, const DidAddItems& added) override {
        addedCalls.push_back(added.paths);
    }
    void selectedItemsStorage(SelectedItemsStorage&, const DidRemoveItems& removed) override {
        removedCalls.push_back(removed.paths);
    }
    void selectedItemsStorageUpdated(SelectedItemsStorage&) override { ++updated; }
    std::vector<std::vector<std::string>> addedCalls;
    std::vector<std::vector<std::string>> removedCalls;
    int updated = 0;
};

class SelectedItemsStorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("a/b/one.txt", 5000);
        tree.files().file("a/b/two.txt", 7000);
        tree.files().file("a/bc/three.txt", 3000);
        tree.files().file("top.txt", 1000);
        tree.scan();
        storage = std::make_shared<SelectedItemsStorage>(true, &listener, &alerts);
    }
    ItemRef node(std::string_view relative) { return tree.node(relative); }
    void drainMainQueue() { platform::MainQueue::shared().runPending(); }

    test::TempSettings settings;
    test::ScannedTree tree;
    RecordingAlerts alerts;
    RecordingListener listener;
    std::shared_ptr<SelectedItemsStorage> storage;
};

TEST_F(SelectedItemsStorageTest, AddingAFolderDropsItsCollectedDescendantsAndTheirMarks) {
    auto one = node("a/b/one.txt");
    auto two = node("a/b/two.txt");
    auto other = node("a/bc/three.txt");
    ASSERT_TRUE(storage->selectItems({one, two, other}));
    EXPECT_TRUE(one->isCollected());

    auto folder = node("a/b");
    ASSERT_TRUE(storage->selectItems({folder}));
    EXPECT_FALSE(one->isCollected());
    EXPECT_FALSE(two->isCollected());
    EXPECT_TRUE(folder->isCollected());
    EXPECT_TRUE(other->isCollected()) << "a/bc is not inside a/b";
    EXPECT_EQ(storage->count(), 2u);
    EXPECT_EQ(storage->getTotalSize(), folder->gettotalsize() + other->gettotalsize());
    EXPECT_EQ(storage->selectionInfo().selectedCount(), 2);

    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Avoid duplication in the Selected list");
    EXPECT_NE(alerts.shown[0].informative.find("\"b\""), std::string::npos);
    EXPECT_EQ(listener.updated, 0) << "the dropped descendants are announced later";
    drainMainQueue();
    EXPECT_EQ(listener.updated, 1);
}

TEST_F(SelectedItemsStorageTest, ANodeBelowACollectedFolderIsRefusedWithTheParentAlert) {
    ASSERT_TRUE(storage->selectItems({node("a")}));
    EXPECT_FALSE(storage->selectItems({node("a/b/one.txt")}));
    EXPECT_EQ(storage->count(), 1u);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative,
              "The parent folder \"a\" of the \"one.txt\" item has already been added to the "
              "Selected list.");
    EXPECT_EQ(storage->tryFindSelectedParentOfItem(*node("a/bc/three.txt")), node("a"));
    EXPECT_FALSE(storage->tryFindSelectedParentOfItem(*node("a")));
}

TEST_F(SelectedItemsStorageTest, AddingTwiceKeepsOneEntryAndTheAlertStopsOnceSuppressed) {
    auto top = node("top.txt");
    ASSERT_TRUE(storage->selectItems({top}));
    EXPECT_FALSE(storage->selectItems({top}));
    EXPECT_EQ(storage->count(), 1u);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative,
              "The item \"top.txt\" has already been added to the Selected list.");

    alerts.tickSuppress = true;
    storage->selectItems({top});
    EXPECT_EQ(alerts.shown.size(), 2u);
    EXPECT_TRUE(Settings::getBoolValueForKey("suppressAlertFileIsInCol", false));
    storage->selectItems({top});
    EXPECT_EQ(alerts.shown.size(), 2u) << "suppressed alerts stay away";
    ASSERT_EQ(listener.addedCalls.size(), 1u);
    EXPECT_EQ(listener.addedCalls[0], std::vector<std::string>{top->getFullPath()});
}

TEST_F(SelectedItemsStorageTest, RemovingByPathWithChildrenIsAPlainStringPrefix) {
    auto b = node("a/b");
    auto bc = node("a/bc");
    ASSERT_TRUE(storage->selectItems({b, bc}));
    EXPECT_FALSE(storage->deselectItemsWith({tree.files().path("a/b/")}, false));
    EXPECT_EQ(storage->count(), 2u);

    EXPECT_TRUE(storage->deselectItemsWith({b->getFullPath()}, true));
    EXPECT_EQ(storage->count(), 0u) << "/a/bc starts with /a/b as a string";
    EXPECT_FALSE(bc->isCollected());
    EXPECT_TRUE(listener.removedCalls.empty()) << "callers refresh the views themselves";
}

TEST_F(SelectedItemsStorageTest, ContainmentFollowsFolderComponentsNotStringPrefixes) {
    ASSERT_TRUE(storage->selectItems({node("a/b")}));
    EXPECT_TRUE(storage->containsItemWith(tree.files().path("a/b")));
    EXPECT_TRUE(storage->containsItemWith(tree.files().path("a/b/deeper/x")));
    EXPECT_FALSE(storage->containsItemWith(tree.files().path("a/bc")));
    EXPECT_FALSE(storage->containsItemWith(tree.files().path("a")));
}

TEST_F(SelectedItemsStorageTest, ErasingTellsTheListenerEvenWhenEmpty) {
    storage->doErase();
    ASSERT_EQ(listener.removedCalls.size(), 1u);
    EXPECT_TRUE(listener.removedCalls[0].empty());

    auto top = node("top.txt");
    storage->selectItems({top});
    storage->doErase();
    EXPECT_FALSE(top->isCollected());
    EXPECT_EQ(listener.removedCalls.back(), std::vector<std::string>{top->getFullPath()});
    EXPECT_EQ(storage->selectionInfo().selectedSize(), 0);
}

TEST_F(SelectedItemsStorageTest, ATemporaryStorageLeavesTheTreeMarksAlone) {
    auto temp = std::make_shared<SelectedItemsStorage>(false, nullptr);
    auto one = node("a/b/one.txt");
    ASSERT_TRUE(temp->selectItems({one}));
    EXPECT_FALSE(one->isCollected());
    EXPECT_TRUE(temp->isItemSelected(*one));
    EXPECT_FALSE(temp->removeChildrenOf(*node("a"))) << "descendants go without a notice";
    EXPECT_EQ(temp->count(), 0u);
}

TEST_F(SelectedItemsStorageTest, ConcurrentAddsAndRemovesKeepTheSetConsistent) {
    auto one = node("a/b/one.txt");
    auto two = node("a/b/two.txt");
    auto three = node("a/bc/three.txt");
    // No alerts nor listener: they are told on the changing thread.
    storage = std::make_shared<SelectedItemsStorage>(true, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                const ItemRef& mine = t % 2 ? two : three;
                storage->setWithSelected(true, mine);
                storage->setWithSelected(true, one);
                storage->setWithSelected(false, mine);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(storage->count(), 1u);
    EXPECT_TRUE(storage->isItemSelected(*one));
    EXPECT_EQ(storage->getTotalSize(), one->gettotalsize());
    EXPECT_EQ(one->isCollected(), true);
    EXPECT_FALSE(two->isCollected());
}

}  // namespace
}  // namespace korvex
