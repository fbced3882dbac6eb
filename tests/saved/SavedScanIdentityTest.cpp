#include "SavedTreeSupport.h"

#include "platform/HostName.h"
#include "platform/fs/EntryIdentity.h"
#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanReader.h"
#include "scan/saved/SavedScanTrust.h"
#include "scan/saved/SavedScanWriter.h"
#include "support/ScannedTree.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace korvex::test {
namespace {

namespace fs = std::filesystem;

// Whether removing what a saved scan shows would remove what the user saw:
// identities recorded per entry, kept through both file formats, and the
// trust check that refuses anything else.
class SavedScanIdentity : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("keep/a.bin", 30'000);
        tree.files().file("keep/b.bin", 10'000);
        tree.files().file("solo.bin", 2'000);
        ASSERT_EQ(::link(tree.files().path("keep/a.bin").c_str(),
                         tree.files().path("a-link.bin").c_str()),
                  0);
        root = tree.scan();
        ASSERT_NE(root, nullptr);
        scan = savedScanOfTree(root);
        scan.host = platform::hostName();
    }

    // The scan as it reads back from a saved-scan file.
    SavedScan reread() const {
        SavedScanResult back = decodeSavedScan(encodeSavedScan(scan));
        EXPECT_TRUE(back.scan) << back.error;
        return std::move(*back.scan);
    }

    const FileSystemItem* nodeIn(const SavedScan& saved, std::string_view relative) const {
        ItemRef node = saved.root->getItemByFilePath(tree.files().path(relative));
        EXPECT_NE(node, nullptr) << relative;
        return node.get();
    }

    ScannedTree tree;
    FolderRef root;
    SavedScan scan;
};

TEST_F(SavedScanIdentity, EveryEntryKeepsItsDeviceAndInodeThroughTheFile) {
    const SavedScan back = reread();
    ASSERT_NE(back.identities, nullptr);
    for (const char* relative : {"keep", "keep/a.bin", "keep/b.bin", "solo.bin", "a-link.bin"}) {
        const auto onDisk = platform::entryIdentity(tree.files().path(relative));
        const auto recorded = back.identities->of(nodeIn(back, relative));
        ASSERT_TRUE(onDisk && recorded) << relative;
        EXPECT_EQ(recorded->device, onDisk->device) << relative;
        EXPECT_EQ(recorded->inode, onDisk->inode) << relative;
    }
    EXPECT_TRUE(back.identities->of(back.root.get()).has_value());
}

TEST_F(SavedScanIdentity, AScanMadeHereWithUnchangedItemsMayBeActedOn) {
    const SavedScan back = reread();
    const SavedScanTrust trust(back);
    EXPECT_EQ(trust.refusalFor({nodeIn(back, "keep"), nodeIn(back, "solo.bin")}), std::nullopt);
}

TEST_F(SavedScanIdentity, RefusesOtherMachinesReplacedVanishedAndUnrecordedItems) {
    SavedScan foreign = reread();
    foreign.host = "elsewhere.example";
    const auto refusal = SavedScanTrust(foreign).refusalFor({nodeIn(foreign, "solo.bin")});
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("\"elsewhere.example\""), std::string::npos) << *refusal;

    // A file put in place of the scanned one: same path, another inode (made
    // while the old one still exists, so the inode cannot be reused).
    const SavedScan back = reread();
    tree.files().file("new.bin", 2'000);
    fs::rename(tree.files().path("new.bin"), tree.files().path("solo.bin"));
    const auto replaced = SavedScanTrust(back).refusalFor({nodeIn(back, "solo.bin")});
    ASSERT_TRUE(replaced);
    EXPECT_NE(replaced->find("replaced"), std::string::npos) << *replaced;
    // One bad item refuses the whole action.
    EXPECT_TRUE(SavedScanTrust(back).refusalFor({nodeIn(back, "keep"), nodeIn(back, "solo.bin")}));

    fs::remove(tree.files().path("keep/b.bin"));
    const auto vanished = SavedScanTrust(back).refusalFor({nodeIn(back, "keep/b.bin")});
    ASSERT_TRUE(vanished);
    EXPECT_NE(vanished->find("no longer there"), std::string::npos) << *vanished;

    // A file that recorded no identities cannot vouch for any item.
    SavedScan blind = reread();
    blind.identities = nullptr;
    EXPECT_TRUE(SavedScanTrust(blind).refusalFor({nodeIn(blind, "keep")}));
}

TEST_F(SavedScanIdentity, NcduExportMarksHardLinksWithNcdusOwnFields) {
    const std::string text = encodeNcduExport(scan);
    const auto inode = platform::entryIdentity(tree.files().path("keep/a.bin"))->inode;
    EXPECT_EQ(text.find("korvex_hardlink"), std::string::npos);
    EXPECT_NE(text.find("\"ino\":" + std::to_string(inode) + ",\"hlnkc\":true"), std::string::npos)
        << text;
    // The scanned folder says which device it is on; its children inherit it.
    const auto device = platform::entryIdentity(tree.files().path())->device;
    EXPECT_NE(text.find("\"dev\":" + std::to_string(device)), std::string::npos) << text;

    // Read back, the pair still counts its blocks once and exports the same.
    SavedScanResult back = decodeNcduExport(text);
    ASSERT_TRUE(back.scan) << back.error;
    EXPECT_EQ(describeTree(*back.scan->root, true), describeTree(*root, true));
    EXPECT_EQ(encodeNcduExport(*back.scan).find("korvex_hardlink"), std::string::npos);
    EXPECT_NE(encodeNcduExport(*back.scan).find("\"hlnkc\":true"), std::string::npos);
}

TEST(NcduExportHardLinks, ExportsOfEarlierVersionsStillMarkTheirLinks) {
    const std::string text =
        "[1,0,{\"progname\":\"korvex\"},\n"
        "[{\"name\":\"/srv\",\"dsize\":4096},\n"
        "{\"name\":\"a\",\"dsize\":8192,\"korvex_hardlink\":true},\n"
        "{\"name\":\"b\",\"dsize\":0,\"korvex_hardlink\":true}]]\n";
    SavedScanResult back = decodeNcduExport(text);
    ASSERT_TRUE(back.scan) << back.error;
    EXPECT_TRUE(back.scan->root->getItemByFilePath("/srv/a")->isHardLinked());
    EXPECT_EQ(back.scan->root->gettotalsize(), 4096 + 8192);
}

}  // namespace
}  // namespace korvex::test
