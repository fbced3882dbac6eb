#include "app/settings/Settings.h"
#include "browse/folders/FolderFiling.h"
#include "scan/format/PathsGenerator.h"
#include "support/MemoryTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

using Paths = std::vector<std::string>;

class RecordingPanel : public FolderFilingDelegate {
  public:
    void rebuildLeftPanel() override { ++rebuilds; }
    void selectEntryWithPath(const std::string& path) override { selected.push_back(path); }
    void startScanOfSelection() override { started.push_back(selected.back()); }
    bool isScanning() const override { return scanning; }
    std::string scanningPath() const override { return scanning ? currentScan : ""; }
    void stopScanning() override { ++stops; }

    int rebuilds = 0;
    int stops = 0;
    bool scanning = false;
    std::string currentScan;
    std::vector<std::string> selected;
    std::vector<std::string> started;
};

class FolderLists : public ::testing::Test {
  protected:
    Paths paths(const FolderItemsController& list) {
        Paths out;
        for (const auto& item : list.getFoldersArray()) {
            out.push_back(item->getFullPath());
        }
        return out;
    }
    test::TempSettings settings;
    test::TempTree tree;
    CModel model;
    RecordingPanel panel;
};

TEST_F(FolderLists, RecentsLimitStaysBetweenOneAndTen) {
    EXPECT_EQ(RecentsController::limitFor(0), 1u);
    EXPECT_EQ(RecentsController::limitFor(4), 4u);
    EXPECT_EQ(RecentsController::limitFor(25), 10u);
    Settings::saveUnsignedLongLongValue(2, RecentsController::kMaximumKey);
    RecentsController recents;
    EXPECT_EQ(recents.recentsLimit(), 2u);
    for (const char* name : {"a", "b", "c"}) {
        recents.addFolderToList(tree.folder(name), true);
    }
    EXPECT_EQ(paths(recents), (Paths{tree.path("b"), tree.path("c")}));
}

TEST_F(FolderLists, ScanningARecentMovesItToTheNewestPlace) {
    RecentsController recents;
    for (const char* name : {"a", "b", "c"}) {
        recents.addFolderToList(tree.folder(name), true);
    }
    recents.addFolderToList(tree.path("a"), true);
    EXPECT_EQ(paths(recents), (Paths{tree.path("b"), tree.path("c"), tree.path("a")}));
    EXPECT_EQ(recents.addFolderToList(tree.path("missing"), true), nullptr);
    EXPECT_EQ(recents.getFolderItemByPath(tree.path("A")), nullptr);  // exact match only
}

TEST_F(FolderLists, StoredListsComeBackWithTheHomeFolderAndWithoutLostPaths) {
    const std::string home = PathsGenerator::GetInstance().getHomeDirectory();
    Settings::saveArrayValue({tree.folder("fav"), tree.path("gone")}, FFoldersController::kKey);
    Settings::saveArrayValue(nlohmann::json::array(), RecentsController::kKey);
    FolderFiling filing(model, panel);
    filing.initPrefParameters();
    EXPECT_EQ(paths(filing.favorites()), (Paths{tree.path("fav"), home}));
    EXPECT_EQ(filing.recents().foldersCount(), 0u);  // an empty stored list stays empty
    filing.SavePrefParameters();
    EXPECT_EQ(Settings::getArrayValueForKey(FFoldersController::kKey, nullptr),
              nlohmann::json::array({tree.path("fav"), home}));
}

TEST_F(FolderLists, FilingAChosenFolder) {
    FolderFiling filing(model, panel);
    filing.doScanFolder(tree.folder("new"));
    EXPECT_EQ(paths(filing.recents()), Paths{tree.path("new")});
    EXPECT_EQ(panel.started, Paths{tree.path("new")});
    EXPECT_EQ(panel.rebuilds, 1);
    EXPECT_EQ(Settings::getArrayValueForKey(RecentsController::kKey, nullptr),
              nlohmann::json::array({tree.path("new")}));

    filing.favorites().addFolderToList(tree.folder("fav"), true);
    filing.doScanFolder(tree.path("fav"), false);
    EXPECT_EQ(panel.selected.back(), tree.path("fav"));
    EXPECT_EQ(filing.recents().foldersCount(), 1u);  // a favourite is not filed as recent
    EXPECT_EQ(panel.started.size(), 1u);
}

TEST_F(FolderLists, DroppingThreeFoldersWhileIdleScansOnlyTheFirst) {
    FolderFiling filing(model, panel);
    filing.addFoldersAndScanFirst({tree.folder("one"), tree.folder("two"), tree.folder("three")});
    EXPECT_EQ(panel.started, Paths{tree.path("one")});
    EXPECT_EQ(filing.recents().foldersCount(), 3u);
    panel.scanning = true;
    filing.addFoldersAndScanFirst({tree.folder("four")});
    EXPECT_EQ(panel.started.size(), 1u);
}

TEST_F(FolderLists, AFavouriteTakenFromTheRecentsLeavesThem) {
    FolderFiling filing(model, panel);
    filing.doScanFolder(tree.folder("desk"), false);
    filing.addToFavoriteFolderWithPath(tree.path("desk"));
    EXPECT_TRUE(filing.isFolderAtPathInFavorite(tree.path("desk")));
    EXPECT_EQ(filing.recents().foldersCount(), 0u);
    EXPECT_EQ(Settings::getArrayValueForKey(RecentsController::kKey, nullptr),
              nlohmann::json::array());
    int rebuilds = panel.rebuilds;
    filing.addToFavoriteFolderWithPath(tree.path("desk"));  // already there: just selected
    EXPECT_EQ(panel.rebuilds, rebuilds);
    EXPECT_EQ(filing.favorites().foldersCount(), 1u);
}

TEST_F(FolderLists, RemovingAFolderBeingScannedStopsTheScan) {
    FolderFiling filing(model, panel);
    filing.favorites().addFolderToList(tree.folder("fav"), true);
    panel.scanning = true;
    panel.currentScan = tree.path("fav");
    filing.removeFolderFromFavoriteWithPath(tree.path("fav"));
    EXPECT_EQ(panel.stops, 1);
    EXPECT_FALSE(filing.isFolderAtPathInFavorite(tree.path("fav")));
    filing.removeFolderFromFavoriteWithPath(tree.path("nowhere"));
    EXPECT_EQ(panel.stops, 1);
}

TEST_F(FolderLists, RemovingFromDiskTheFolderHoldingAFavouriteDropsIt) {
    FolderFiling filing(model, panel);
    filing.favorites().addFolderToList(tree.folder("parent/fav"), true);
    FolderItemRef kept = filing.favorites().addFolderToList(tree.folder("other"), true);
    FolderRef root = test::memoryRoot(tree.path("other"));
    test::file(root.get(), "junk", 100);
    kept->setScannedRoot(root);

    ItemList removed;
    EXPECT_TRUE(filing.updateAllAfterRemovingFiles({tree.path("parent"), tree.path("other/junk")},
                                                   removed));
    EXPECT_EQ(paths(filing.favorites()), Paths{tree.path("other")});
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_TRUE(removed[0]->isCutItem());
    EXPECT_EQ(Settings::getArrayValueForKey(FFoldersController::kKey, nullptr),
              nlohmann::json::array({tree.path("other")}));
}

}  // namespace
}  // namespace korvex
