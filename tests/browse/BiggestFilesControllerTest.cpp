#include "browse/biggest/BiggestFilesController.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/model/BlockingScan.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

class RecordingList : public BiggestFilesDelegate {
  public:
    bool isListOnScreen() const override { return onScreen; }
    void showBiggestFiles(const ItemRef& root, const ItemList& files, bool keep) override {
        shownRoot = root;
        shown = files;
        keptPosition = keep;
        ++reloads;
    }
    bool onScreen = true;
    ItemRef shownRoot;
    ItemList shown;
    bool keptPosition = false;
    int reloads = 0;
};

class BiggestFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::MainQueue::shared().bindToCurrentThread();
        tree.file("a/big.bin", 300000);
        tree.file("a/small.bin", 4096);
        tree.file("b/mid.bin", 100000);
        tree.file("top.bin", 50000);
        controller.initScannningWithRoot(nullptr);
        root = runBlockingScan(model, tree.path(), &controller).root;
        ASSERT_TRUE(root);
    }
    FileSystemItem* child(std::string_view name) {
        return root->getItemByFilePath(tree.path(name)).get();
    }
    void drainMainQueue() { platform::MainQueue::shared().runPending(); }

    test::TempTree tree;
    CModel model;
    RecordingList list;
    BiggestFilesController controller{&list};
    FolderRef root;
};

TEST_F(BiggestFiles, ScanFillsTheRootListWithoutASecondWalk) {
    const ItemList& files = controller.displayFiles();
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files.front()->name(), "big.bin");
    EXPECT_EQ(files.back()->name(), "small.bin");
}

TEST_F(BiggestFiles, ManyOffersBetweenTurnsCauseOneReload) {
    controller.initScannningWithRoot(root);
    controller.updateWithItem(root);
    int before = list.reloads;
    for (const ItemRef& item : root->childrenArray()) {
        controller.tryAddtoScanArray(item.get(), false);
        controller.tryUpdateTableByScanning();
    }
    EXPECT_EQ(list.reloads, before);
    drainMainQueue();
    EXPECT_EQ(list.reloads, before + 1);
    EXPECT_TRUE(list.keptPosition);
    EXPECT_EQ(list.shown.size(), root->childrenArray().size());
}

TEST_F(BiggestFiles, OffScreenListTakesOffersButSchedulesNothing) {
    list.onScreen = false;
    controller.initScannningWithRoot(root);
    controller.updateWithItem(root);
    int before = list.reloads;
    controller.tryAddtoScanArray(child("top.bin"), false);
    controller.tryUpdateTableByScanning();
    drainMainQueue();
    EXPECT_EQ(list.reloads, before);
    EXPECT_EQ(controller.displayFiles().size(), 1u);
}

TEST_F(BiggestFiles, SubfolderShowsAFixedListAndARebuildKeepsPosition) {
    controller.initScannningWithRoot(root);
    controller.updateWithItem(ItemRef(child("a")));
    ASSERT_EQ(list.shown.size(), 2u);
    EXPECT_EQ(list.shown.front()->name(), "big.bin");
    EXPECT_FALSE(list.keptPosition);

    controller.tryAddtoScanArray(child("top.bin"), false);
    EXPECT_EQ(controller.displayFiles().size(), 2u);

    controller.updateWithItem(ItemRef(child("a")));
    EXPECT_TRUE(list.keptPosition);

    controller.updateWithItem(nullptr);
    EXPECT_TRUE(list.shown.empty());
    EXPECT_FALSE(controller.displayRoot());
}

}  // namespace
}  // namespace korvex
