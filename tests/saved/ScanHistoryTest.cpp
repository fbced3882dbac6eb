#include "SavedTreeSupport.h"

#include "scan/saved/ScanFile.h"
#include "scan/saved/ScanHistory.h"
#include "support/ScannedTree.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex::test {
namespace {

namespace fs = std::filesystem;

class ScanHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("a.bin", 10'000);
        root = tree.scan();
        ASSERT_NE(root, nullptr);
    }

    SavedScan scanAt(std::int64_t time) const {
        SavedScan scan = savedScanOfTree(root);
        scan.scanTime = time;
        return scan;
    }

    ScannedTree tree;
    TempTree data;
    FolderRef root;
};

TEST_F(ScanHistoryTest, KeepsTheNewestFewPerTargetAndFindsThePreviousOne) {
    const ScanHistory history(data.path("scans"));
    std::vector<std::string> files;
    for (std::int64_t time = 1000; time < 1000 + 7; ++time) {
        ScanHistory::Recorded recorded = history.record(scanAt(time));
        ASSERT_FALSE(recorded.error) << *recorded.error;
        files.push_back(recorded.file);
    }
    const std::vector<std::string> kept = history.scansOf(root->fullPath());
    ASSERT_EQ(kept.size(), ScanHistory::kKeptPerTarget);
    EXPECT_EQ(kept.front(), files.back()) << "newest first";
    EXPECT_EQ(kept.back(), files[2]);
    EXPECT_FALSE(fs::exists(files[0]));

    // The previous scan of the newest is the one before it; of an older
    // scan not kept, the newest.
    EXPECT_EQ(history.previousOf(root->fullPath(), files.back()), files[5]);
    EXPECT_EQ(history.previousOf(root->fullPath(), ""), files.back());
    // Each kept file is a whole scan of the target.
    SavedScanResult back = readScanFile(kept.front());
    ASSERT_TRUE(back.scan) << back.error;
    EXPECT_EQ(describeTree(*back.scan->root, false), describeTree(*root, false));

    // Another target has a history of its own.
    EXPECT_TRUE(history.scansOf(root->fullPath() + "-other").empty());
    EXPECT_EQ(history.previousOf(root->fullPath() + "-other", ""), std::nullopt);
}

TEST_F(ScanHistoryTest, AnUnwritableFolderIsReportedAndLosesNothing) {
    data.file("scans", 10);  // a file where the folder should be
    const ScanHistory history(data.path("scans"));
    ScanHistory::Recorded recorded = history.record(scanAt(1000));
    EXPECT_TRUE(recorded.error);
    EXPECT_TRUE(recorded.file.empty());
    EXPECT_TRUE(fs::is_regular_file(data.path("scans")));
}

TEST_F(ScanHistoryTest, LivesInTheUsersDataFolder) {
    ScopedVariable dataHome("XDG_DATA_HOME", data.path());
    EXPECT_EQ(ScanHistory::defaultFolder(), data.path() + "/korvex/scans");
}

}  // namespace
}  // namespace korvex::test
