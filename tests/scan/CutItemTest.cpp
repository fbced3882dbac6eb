#include "scan/tree/CopiedFileItem.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

class CutItems : public ::testing::Test {
  protected:
    void SetUp() override {
        root = FolderSystemItem::initWithPathSizeNoParent("/r", nullptr, 0, false, 0, false, false);
        docs =
            FolderSystemItem::initWithPathSize("docs", root.get(), 0, false, 0, false, false).get();
        file = FileSystemItem::initWithPathSize("big.bin", docs, 1000, 2, false, false);
        FileSystemItem::initWithPathSize("small.txt", docs, 10, 0, false, false);
        inner = FolderSystemItem::initWithPathSize("inner", docs, 0, false, 0, false, false).get();
        FileSystemItem::initWithPathSize("deep", inner, 90, 0, false, false);
        root->calctotalsize();
        root->sortChildrenBySize(true);
    }

    FolderRef root;
    FolderSystemItem* docs = nullptr;
    FolderSystemItem* inner = nullptr;
    ItemRef file;
};

TEST_F(CutItems, CoefficientScalesTheReportedSize) {
    ItemList cuts;
    EXPECT_TRUE(root->updateRemovingItemsByPaths({"/r/docs/big.bin"}, cuts));
    ASSERT_EQ(cuts.size(), 1u);
    ItemRef cut = cuts[0];
    EXPECT_TRUE(cut->isCutItem());
    EXPECT_EQ(cut->gettotalsize(), 1000);
    EXPECT_EQ(cut->getTimeCode(), 2);
    cut->setdrawkoef(0.5);
    EXPECT_EQ(cut->gettotalsize(), 500);
    EXPECT_EQ(root->calctotalsize(), 600);  // a full recount sees the scaled size

    ItemList biggest;
    EXPECT_FALSE(cut->insert2BiggestFilesArray(biggest));
    cut->setdrawkoef(0.0);
    EXPECT_EQ(cut->gettotalsize(), 0);
    EXPECT_FALSE(cut->insert2BiggestFilesArray(biggest));
    EXPECT_TRUE(biggest.empty());
    // Ordinary nodes ignore the coefficient.
    file->setdrawkoef(0.1);
    EXPECT_EQ(file->getdrawkoef(), 1.0);
}

TEST_F(CutItems, RemovalKeepsIncrementalTotalsInStepWithARecount) {
    ItemList cuts;
    root->updateRemovingItemsByPaths({"/r/docs/big.bin", "/r/nothing", "/r"}, cuts);
    ASSERT_EQ(cuts.size(), 1u);  // a missing path and the root are skipped
    ItemRef cut = cuts[0];
    EXPECT_FALSE(docs->isSorted());
    EXPECT_FALSE(root->isSorted());

    std::int64_t shown = cut->gettotalsize();
    for (double k : {0.75, 0.3, 0.0}) {
        cut->setdrawkoef(k);
        cut->getParent()->decreaseTotalSize(shown - cut->gettotalsize());
        shown = cut->gettotalsize();
        std::int64_t incremental = root->gettotalsize();
        EXPECT_EQ(incremental, root->calctotalsize()) << k;
    }
    docs->removeChild(cut.get());
    EXPECT_EQ(root->gettotalsize(), 100);
    EXPECT_EQ(root->getItemByFilePath("/r/docs/big.bin"), nullptr);
}

TEST_F(CutItems, RemovingAFolderMovesItsSubtreeUnderTheCutItem) {
    ItemList cuts;
    root->updateRemovingItemsByPaths({"/r/docs/inner"}, cuts);
    ASSERT_EQ(cuts.size(), 1u);
    ItemRef cut = cuts[0];
    EXPECT_TRUE(cut->isDir());
    EXPECT_EQ(inner->numberOfChildren(), 0u);  // the replaced node is emptied
    EXPECT_EQ(cut->numberOfChildren(), 1u);
    EXPECT_EQ(cut->gettotalsize(), 90);
    // The subtree still answers the same paths through the cut item.
    ItemRef deep = root->getItemByFilePath("/r/docs/inner/deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->fullPath(), "/r/docs/inner/deep");
    // Asking again reuses the cut item.
    ItemList again;
    EXPECT_FALSE(root->updateRemovingItemsByPaths({"/r/docs/inner"}, again));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0], cut);
}

TEST_F(CutItems, VolumeRootsNeverBecomeCutItems) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/", 10, 1);
    EXPECT_EQ(vol->createOrGetCutItem(), nullptr);
    EXPECT_EQ(vol->createDuplicatedCutItemForParent(docs, "x"), nullptr);
}

TEST_F(CutItems, CopyingAFolderDuplicatesTheSubtreeAndLeavesTheSource) {
    FolderRef dest =
        FolderSystemItem::initWithPathSizeNoParent("/d", nullptr, 0, false, 0, false, false);
    ItemList added;
    std::vector<CopiedFileItem> items{CopiedFileItem::initWithFileItem(docs, "docs copy")};
    EXPECT_TRUE(dest->addFileItems(items, "/d/into/here", added));
    ASSERT_EQ(added.size(), 1u);
    ItemRef cut = added[0];
    EXPECT_EQ(cut->fullPath(), "/d/into/here/docs copy");
    EXPECT_EQ(cut->getdrawkoef(), 0.0);
    EXPECT_EQ(cut->gettotalsize(), 0);

    ItemRef copiedDeep = dest->getItemByFilePath("/d/into/here/docs copy/inner/deep");
    ASSERT_NE(copiedDeep, nullptr);
    EXPECT_EQ(copiedDeep->gettotalsize(), 90);
    EXPECT_EQ(root->getItemByFilePath("/r/docs/inner/deep")->getTopParent(), root.get());
    EXPECT_EQ(docs->numberOfChildren(), 3u);

    // Growing to 1.0 then ending the transition leaves an ordinary folder.
    FolderSystemItem* parent = cut->getParent();
    cut->setdrawkoef(1.0);
    parent->increaseTotalSize(cut->gettotalsize());
    EXPECT_EQ(dest->gettotalsize(), 1100);
    EXPECT_TRUE(cut->replaceToSuperItem());
    ItemRef plain = dest->getItemByFilePath("/d/into/here/docs copy");
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->isCutItem());
    EXPECT_EQ(plain->numberOfChildren(), 3u);
    EXPECT_EQ(plain->childAtIndex(0)->getParent(), plain.get());
    EXPECT_EQ(dest->calctotalsize(), 1100);
    // The old cut item is no longer among its parent's children.
    EXPECT_FALSE(cut->replaceToSuperItem());
}

TEST_F(CutItems, AdditionIntoSortedFolderUsesTheFullSize) {
    ASSERT_TRUE(docs->isSorted());
    ItemList added;
    std::vector<CopiedFileItem> items{CopiedFileItem::initWithFileItem(file, "big 2.bin")};
    EXPECT_TRUE(root->addFileItems(items, "/r/docs", added));
    ASSERT_EQ(added.size(), 1u);
    // Equal in size to big.bin, the copy goes first: " " orders before ".".
    EXPECT_EQ(docs->childAtIndex(0)->relativePath(), "big 2.bin");
    EXPECT_EQ(docs->childAtIndex(1)->relativePath(), "big.bin");
    EXPECT_EQ(added[0]->gettotalsize(), 0);
    EXPECT_FALSE(docs->isSorted());
    EXPECT_FALSE(root->isSorted());
}

TEST_F(CutItems, AdditionIntoUnsortedFolderAppends) {
    docs->setSorted(false);
    ItemList added;
    std::vector<CopiedFileItem> items{CopiedFileItem::initWithFileItem(file, "again.bin")};
    EXPECT_TRUE(docs->addFileItems(items, added));
    EXPECT_EQ(docs->childAtIndex(docs->numberOfChildren() - 1)->relativePath(), "again.bin");
}

TEST_F(CutItems, AdditionIntoAPackageOrOutsideTheRootAddsNothing) {
    FolderSystemItem::initWithPathSize("P.app", root.get(), 0, true, 0, false, false);
    ItemList added;
    std::vector<CopiedFileItem> items{CopiedFileItem::initWithFileItem(file, "x")};
    EXPECT_FALSE(root->addFileItems(items, "/r/P.app/Contents", added));
    EXPECT_FALSE(root->addFileItems(items, "/elsewhere", added));
    EXPECT_TRUE(added.empty());
}

}  // namespace
}  // namespace korvex
