#include "SavedTreeSupport.h"

#include "scan/saved/NcduExport.h"
#include "scan/saved/ScanFile.h"
#include "support/DiskUsage.h"
#include "support/ScannedTree.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace korvex::test {
namespace {

bool haveProgram(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// ncdu's own export of a tree opens with the disk usage ncdu and du report
// for it, hard links counted once, and the same tree our own scan finds.
TEST(NcduOracle, ExportOfATestTreeOpensWithItsTotals) {
    if (!haveProgram("ncdu") || !haveProgram("du")) {
        GTEST_SKIP() << "ncdu or du is not installed; nothing to compare with";
    }
    ScannedTree tree;
    const TempTree& files = tree.files();
    files.file("a/one", 70'000);
    files.file("a/b/name\nwith newline", 12'000);
    files.file("bad\xff", 3'000);
    files.file("c/three", 200'000);
    ASSERT_EQ(::link(files.path("c/three").c_str(), files.path("a/three-link").c_str()), 0);
    const std::string out = files.path("../") + files.root().filename().string() + ".ncdu.json";
    const std::string command = "ncdu -0 -x -o '" + out + "' '" + files.path() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    SavedScanResult result = readScanFile(out);
    std::remove(out.c_str());
    ASSERT_TRUE(result.scan) << result.error;
    FolderSystemItem& root = *result.scan->root;
    EXPECT_EQ(root.fullPath(), files.path());
    EXPECT_EQ(root.gettotalsize(), commandNumber("du -sB1 '" + files.path() + "'"));
    EXPECT_EQ(root.gettotalsize(), tree.scan()->gettotalsize());
    const ItemRef odd = root.getItemByFilePath(files.path("a/b/name\nwith newline"));
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->gettotalsize(), tree.node("a/b/name\nwith newline")->gettotalsize());
    EXPECT_NE(root.getItemByFilePath(files.path("bad\xff")), nullptr);
}

// ncdu reads our export and writes it out again unchanged in what matters:
// names as bytes, sizes and structure.
TEST(NcduOracle, NcduReadsOurExportBackWithTheSameTree) {
    if (!haveProgram("ncdu")) {
        GTEST_SKIP() << "ncdu is not installed; nothing to compare with";
    }
    ScannedTree tree;
    const TempTree& files = tree.files();
    files.file("a/one", 70'000);
    files.file("a/b/name\nwith \"quote\"", 12'000);
    files.file("bad\xff\x80", 3'000);
    files.folder("empty");
    // ncdu counts a hard link's blocks once by the inode our export gives.
    ASSERT_EQ(::link(files.path("a/one").c_str(), files.path("a/b/also-one").c_str()), 0);
    const FolderRef root = tree.scan();
    const std::string ours = files.path("ours.json");
    const std::string theirs = files.path("theirs.json");
    { std::ofstream(ours, std::ios::binary) << encodeNcduExport(savedScanOfTree(root)); }
    const std::string command =
        "ncdu -f '" + ours + "' -o '" + theirs + "' </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    SavedScanResult result = readScanFile(theirs);
    ASSERT_TRUE(result.scan) << result.error;
    EXPECT_EQ(describeTree(*result.scan->root, true), describeTree(*root, true));
}

}  // namespace
}  // namespace korvex::test
