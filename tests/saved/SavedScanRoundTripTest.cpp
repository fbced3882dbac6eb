#include "SavedTreeSupport.h"

#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanReader.h"
#include "scan/saved/SavedScanWriter.h"
#include "scan/saved/ScanFile.h"
#include "support/ScannedTree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace korvex::test {
namespace {

// A tree with the names and entries that break naive writers: a newline and
// invalid UTF-8 in names, a quote and a backslash, a hard link pair, a denied
// folder, a hidden file and an empty folder.
class SavedScanRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        const TempTree& files = tree.files();
        files.file("docs/line\nbreak.txt", 20'000);
        files.file("docs/bad\xff\xfe name", 9'000);
        files.file("docs/quote\"and\\slash", 100);
        files.file("media/big.bin", 300'000);
        files.file(".hidden", 5'000);
        files.folder("empty");
        files.file("locked/secret", 4'000);
        ASSERT_EQ(::link(files.path("media/big.bin").c_str(), files.path("docs/big-link").c_str()),
                  0);
        root = tree.scan();
        ASSERT_NE(root, nullptr);
        // Running as root, nothing is refused: the flag a denied folder gets
        // in a scan is set by hand.
        tree.node("locked")->setAccessDenied(true);
    }

    ScannedTree tree;
    FolderRef root;
};

TEST_F(SavedScanRoundTrip, SavedFileGivesBackTheWholeTree) {
    SavedScan scan = savedScanOfTree(root);
    scan.deniedFolders = {tree.files().path("locked")};
    scan.rootDevice = 42;
    scan.rootInode = 7;
    const std::string file = tree.files().path("scan.korvex");
    ASSERT_EQ(writeSavedScan(scan, file), std::nullopt);

    SavedScanResult back = readScanFile(file);
    ASSERT_TRUE(back.scan) << back.error;
    EXPECT_EQ(describeTree(*back.scan->root, true), describeTree(*root, true));
    EXPECT_EQ(back.scan->root->gettotalsize(), root->gettotalsize());
    EXPECT_EQ(back.scan->host, "testhost");
    EXPECT_EQ(back.scan->scanTime, 1'700'000'000);
    EXPECT_EQ(back.scan->entriesRead, 12);
    EXPECT_EQ(back.scan->deniedFolders, scan.deniedFolders);
    EXPECT_EQ(back.scan->rootDevice, 42u);
    EXPECT_EQ(back.scan->rootInode, 7u);
    // The hard-linked pair counts its blocks once, as the scan did.
    EXPECT_TRUE(
        back.scan->root->getItemByFilePath(tree.files().path("docs/big-link"))->isHardLinked());
}

TEST_F(SavedScanRoundTrip, NcduExportKeepsNamesSizesAndStructure) {
    const std::string text = encodeNcduExport(savedScanOfTree(root));
    SavedScanResult back = decodeNcduExport(text);
    ASSERT_TRUE(back.scan) << back.error;
    EXPECT_EQ(describeTree(*back.scan->root, false), describeTree(*root, false));
    EXPECT_TRUE(back.scan->root->getItemByFilePath(tree.files().path("locked"))->accessDenied());
}

TEST_F(SavedScanRoundTrip, ReplacingASavedScanIsAtomicAndRefusalsLoseNothing) {
    const std::string file = tree.files().path("scan.korvex");
    { std::ofstream(file) << "previous"; }
    EXPECT_NE(writeSavedScan(savedScanOfTree(root), tree.files().path("no/such/folder/x")),
              std::nullopt);
    ASSERT_EQ(writeSavedScan(savedScanOfTree(root), file), std::nullopt);
    ASSERT_TRUE(readScanFile(file).scan);
    // No temporary file is left beside it.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(tree.files().root())) {
        ++entries;
    }
    EXPECT_EQ(entries, 6u);  // docs media .hidden empty locked scan.korvex

    const SavedScanResult missing = readScanFile(tree.files().path("missing"));
    EXPECT_FALSE(missing.scan);
    EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;
    const SavedScanResult neither = readScanFile(tree.files().path(".hidden"));
    EXPECT_FALSE(neither.scan);
    EXPECT_NE(neither.error.find("neither"), std::string::npos) << neither.error;
}

}  // namespace
}  // namespace korvex::test
