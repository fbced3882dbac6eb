#include "diagram/DiagramFixture.h"
#include "diagram/ServeEventLoop.h"
#include "scan/tree/CopiedFileItem.h"
#include "scan/tree/VolumeSystemItem.h"

namespace korvex {
namespace {

using namespace test;

class DiagramAnimation : public Diagram {
  protected:
    // A volume of capacity 1000 with 400 bytes scanned in two files.
    void showVolume() {
        volume = VolumeSystemItem::initWithPath("/", 1000, 600);
        big = file(volume.get(), "big", 300);
        small = file(volume.get(), "small", 100);
        show(volume);
    }
    VolumeRef volume;
    ItemRef big, small;
};

TEST_F(DiagramAnimation, FreeSpaceSwitchScalesTheCircleSmoothly) {
    showVolume();
    ASSERT_FALSE(controller.drawsFreeSector());
    const std::int64_t occupied = volume->getOccSize();
    EXPECT_EQ(controller.totalSize(), occupied);

    int redraws = 0;
    controller.setNeedsDisplayHandler([&] { ++redraws; });
    controller.setDrawFreeSector();
    EXPECT_TRUE(controller.drawsFreeSector());
    EXPECT_TRUE(volume->getUseFreeSector());
    // Halfway the occupied part takes half-way between the whole circle and its share.
    controller.updateFreeSectorAnimationValue(0.5);
    const double share = volume->getFullRatio();
    EXPECT_NEAR(controller.fullRatio(), share + (1 - share) * 0.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(controller.totalSize()),
                static_cast<double>(occupied) / controller.fullRatio(), 1.0);
    ASSERT_TRUE(spinUntil([&] { return !controller.isAnimating(); }));
    EXPECT_GT(redraws, 1);
    EXPECT_EQ(controller.totalSize(), volume->getTheSize());
    EXPECT_NEAR(controller.fullRatio(), share, 1e-9);
    // With free space shown, the circle after the last child stays empty.
    render();
    const double end =
        static_cast<double>(volume->gettotalsize()) / static_cast<double>(controller.totalSize());
    EXPECT_TRUE(near(colorAt(1, (1 + end) / 2), Qt::white, 0));

    controller.setDrawFreeSector();
    ASSERT_TRUE(spinUntil([&] { return !controller.isAnimating(); }));
    EXPECT_FALSE(volume->getUseFreeSector());
    EXPECT_EQ(controller.totalSize(), occupied);
}

TEST_F(DiagramAnimation, RemovedNodesShrinkAwayAndLeaveTheTree) {
    FolderRef root = makeRoot();
    FolderSystemItem* docs = folder(root.get(), "docs");
    file(docs, "keep", 400);
    file(docs, "drop", 200);
    file(root.get(), "other", 400);
    show(root);
    ItemList removed;
    ASSERT_TRUE(root->updateRemovingItemsByPaths({"/data/docs/drop"}, removed));
    ASSERT_EQ(removed.size(), 1u);
    controller.updateDiagramAfterRemovingItems(removed);

    controller.updateCutAnimationValue(0.5);
    EXPECT_EQ(removed[0]->gettotalsize(), 100);
    EXPECT_EQ(docs->gettotalsize(), 500);
    EXPECT_EQ(root->gettotalsize(), 900);
    EXPECT_EQ(controller.totalSize(), 900);

    bool listsTold = false;
    controller.setListsRootHandler([&](const ItemRef& r) { listsTold = r == root; });
    controller.startCutAnimation();
    EXPECT_TRUE(controller.isAnimating());
    ASSERT_TRUE(spinUntil([&] { return !controller.isAnimating(); }));
    EXPECT_TRUE(listsTold);
    EXPECT_EQ(docs->numberOfChildren(), 1u);
    EXPECT_EQ(root->gettotalsize(), 800);
    EXPECT_EQ(root->calctotalsize(), 800);  // the increments agree with a recount
    EXPECT_TRUE(root->isSorted());
}

TEST_F(DiagramAnimation, CopiedNodesGrowInAndBecomeOrdinary) {
    FolderRef root = makeRoot();
    FolderSystemItem* from = folder(root.get(), "from");
    ItemRef source = file(from, "report.pdf", 300);
    folder(root.get(), "to");
    file(root.get(), "filler", 700);
    show(root);
    ItemList added;
    ASSERT_TRUE(
        root->addFileItems({CopiedFileItem(source.get(), "report.pdf")}, "/data/to", added));
    controller.updateDiagramAfterAddingItems(added);
    controller.startCutAnimation();
    ASSERT_TRUE(spinUntil([&] { return !controller.isAnimating(); }));
    ItemRef copy = root->getItemByFilePath("/data/to/report.pdf");
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->isCutItem());
    EXPECT_EQ(copy->gettotalsize(), 300);
    EXPECT_EQ(root->gettotalsize(), 1300);
    EXPECT_EQ(controller.totalSize(), 1300);
}

TEST_F(DiagramAnimation, CollectedNodeLeavesTheViewAtOnce) {
    FolderRef root = makeRoot();
    ItemRef a = file(root.get(), "a", 600);
    file(root.get(), "b", 400);
    show(root);
    ItemRef cut = controller.getCutItemForItemToCollection(a.get());
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(cut->isCutItem());
    EXPECT_EQ(root->childAtIndex(0), cut.get());
    EXPECT_EQ(cut->gettotalsize(), 0);
    EXPECT_EQ(root->gettotalsize(), 400);
    EXPECT_EQ(controller.totalSize(), 400);
    // A root has no parent to hand it to.
    EXPECT_EQ(controller.getCutItemForItemToCollection(root.get()), nullptr);
}

}  // namespace
}  // namespace korvex
