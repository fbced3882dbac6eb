#include "diagram/DiagramColors.h"
#include "diagram/DiagramFixture.h"
#include "diagram/RingRadii.h"
#include "scan/targets/VolumeItem.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/QtTestApplication.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace korvex {
namespace {

using namespace test;

// Text and widgets need a running application; it draws offscreen.
const auto* const kApp = registerQtTestApplication<QApplication>("diagram_tests");

TEST_F(Diagram, SectorsSitWhereTheirSharesSay) {
    FolderRef root = makeRoot();
    file(root.get(), "big", 750);
    file(root.get(), "small", 250);
    show(root);
    ASSERT_EQ(controller.subLevels(), 1);
    EXPECT_TRUE(near(colorAt(1, 0.375), expectedFill(ColorNormal, 1, 0.0, 0.75)));
    EXPECT_TRUE(near(colorAt(1, 0.875), expectedFill(ColorNormal, 1, 0.75, 0.25)));
    // The root disc is filled, the corner stays background.
    EXPECT_FALSE(near(image.pixelColor(kSize / 2, kSize / 2), Qt::white, 20));
    EXPECT_TRUE(near(image.pixelColor(2, 2), Qt::white, 0));
}

TEST_F(Diagram, RingCountFollowsTheTree) {
    FolderRef empty = makeRoot();
    show(empty);
    EXPECT_EQ(controller.subLevels(), 0);

    FolderRef deep = makeRoot();
    FolderSystemItem* level = deep.get();
    for (int i = 0; i < 12; ++i) {
        level = folder(level, "d" + std::to_string(i));
    }
    file(level, "bottom", 1000);
    show(deep);
    EXPECT_EQ(controller.subLevels(), 7);
    EXPECT_FLOAT_EQ(static_cast<float>(controller.radiusOf(0) / controller.fullRadius()), 0.35f);

    controller.initRadialParameters(QRectF(0, 0, 0, 0));
    EXPECT_EQ(controller.subLevels(), 0);
}

TEST_F(Diagram, ThreePointMinimumDecidesWhatIsDrawn) {
    FolderRef root = makeRoot();
    file(root.get(), "big", 1'000'000);
    show(root);
    const double arcPerByte = 2 * M_PI * controller.fullRadius() *
                              RingRadii::F(controller.subLevels(), 1) /
                              static_cast<double>(controller.totalSize());
    auto exact = static_cast<std::int64_t>(std::ceil(3.0 / arcPerByte));
    ItemRef atLimit =
        FileSystemItem::initWithPathSizeNoParent("edge", root.get(), exact, 0, false, false);
    ItemRef below =
        FileSystemItem::initWithPathSizeNoParent("tiny", root.get(), exact - 2, 0, false, false);
    EXPECT_TRUE(controller.CanDrawItem(*atLimit, 1));
    EXPECT_FALSE(controller.CanDrawItem(*below, 1));
}

TEST_F(Diagram, SmallChildrenFoldIntoOneSectorInSortedFolders) {
    FolderRef root = makeRoot();
    file(root.get(), "big", 900'000);
    for (int i = 0; i < 400; ++i) {
        file(root.get(), "crumb" + std::to_string(i), 250);  // each far below 3 points
    }
    show(root);
    // The crumbs make 10 % of the circle, after the big file.
    EXPECT_TRUE(near(colorAt(1, 0.95), expectedFill(ColorSmallItems, 1, 0.9, 0.1)));
}

TEST_F(Diagram, UnsortedFoldersLeaveGapsForSmallChildren) {
    FolderRef root = makeRoot();
    file(root.get(), "a", 500'000);
    for (int i = 0; i < 400; ++i) {
        file(root.get(), "crumb" + std::to_string(i), 1000);
    }
    file(root.get(), "z", 100'000);
    show(root, false);
    ASSERT_FALSE(root->isSorted());
    EXPECT_TRUE(near(colorAt(1, 0.25), expectedFill(ColorNormal, 1, 0.0, 0.5)));
    EXPECT_TRUE(near(colorAt(1, 0.7), Qt::white, 0));  // the crumbs' share stays empty
    EXPECT_FALSE(near(colorAt(1, 0.95), Qt::white, 0));
}

TEST_F(Diagram, CollectedSubtreesAndTheirSmallItemsUseTheCollectedColour) {
    FolderRef root = makeRoot();
    FolderSystemItem* junk = folder(root.get(), "junk");
    file(junk, "chunk", 600'000);
    for (int i = 0; i < 400; ++i) {
        file(junk, "crumb" + std::to_string(i), 250);
    }
    file(root.get(), "keep", 300'000);
    junk->setCollected(true);
    show(root);
    const QColor collected = DiagramColors::shared().cCollectedColor;
    EXPECT_TRUE(near(colorAt(1, 0.3), collected));
    EXPECT_TRUE(near(colorAt(2, 0.3), collected));   // the child below it
    EXPECT_TRUE(near(colorAt(2, 0.65), collected));  // and its small-items sector
    EXPECT_FALSE(near(colorAt(1, 0.85), collected));
}

TEST_F(Diagram, UnscannedVolumeShowsOccupiedThenFreeSpace) {
    auto volume = std::make_shared<VolumeItem>("/", "File System", 1000, 400, 0);
    controller.initRadialParameters(QRectF(0, 0, kSize, kSize));
    controller.setRoot(volume);
    render();
    EXPECT_EQ(controller.subLevels(), 1);
    QColor free1 = DiagramColors::shared().cFreeColor1;
    QColor beforeBoundary = colorAt(1, 0.55);
    QColor afterBoundary = colorAt(1, 0.65);
    EXPECT_LT(afterBoundary.valueF(), 0.45);  // the dark free-space gradient
    EXPECT_GT(beforeBoundary.valueF(), 0.9);  // the bright striped occupied arc
    EXPECT_TRUE(near(afterBoundary, free1, 40));
}

TEST(SectorHue, GoesRoundTheWheelFromSevenTenthsAtTheTop) {
    EXPECT_NEAR(DiagramColors::hueFor(0.0, 0.0), 0.7, 1e-12);
    EXPECT_NEAR(DiagramColors::hueFor(0.2, 0.2), 0.0, 1e-12);
    EXPECT_NEAR(DiagramColors::hueFor(0.5, 0.2), 0.3, 1e-12);
    // Shares past one turn (a scan outgrowing its estimate) stay in range.
    for (double start : {1.25, 1.9, 2.6, 3.05, -0.9, -2.2}) {
        const double hue = DiagramColors::hueFor(start, 0.1);
        EXPECT_GE(hue, 0.0) << start;
        EXPECT_LT(hue, 1.0) << start;
        EXPECT_NEAR(hue, DiagramColors::hueFor(start - std::floor(start), 0.1), 1e-9) << start;
    }
}

TEST(AnimControllerTest, OneMoreRingPerSecondWhileScanning) {
    AnimController anim;
    EXPECT_EQ(anim.checkNewLevels(5), 5);  // idle: no limit
    anim.initAnimation();
    auto start = AnimController::Clock::now();
    EXPECT_EQ(anim.checkNewLevels(5, start), 1);
    EXPECT_EQ(anim.checkNewLevels(5, start + std::chrono::milliseconds(500)), 1);
    EXPECT_EQ(anim.checkNewLevels(5, start + std::chrono::milliseconds(1100)), 2);
    EXPECT_EQ(anim.checkNewLevels(1, start + std::chrono::seconds(5)), 1);
    anim.stopAnimation();
    EXPECT_EQ(anim.checkNewLevels(7), 7);
}

}  // namespace
}  // namespace korvex
