#include "diagram/DiagramBackgroundPanel.h"
#include "diagram/DiagramHintPanel.h"
#include "diagram/DiagramOverlayView.h"
#include "diagram/DiagramViewFixture.h"
#include "diagram/ServeEventLoop.h"
#include "scan/targets/FolderItem.h"

#include <QTest>

namespace korvex {
namespace {

using namespace test;

using LiveResize = DiagramView;

TEST_F(LiveResize, ABurstOfResizesHidesTheHintAndSelectionUntilItEnds) {
    Settings::setShowHintForSelectedItem(true);
    FolderRef root = showSample();
    controller.selectItems({child(root, "mid")});
    QTest::mouseMove(view.get(), pointOn(1, 0.7));
    ASSERT_TRUE(view->hintPanel().isVisible());
    ASSERT_TRUE(view->overlay().showsSelection());

    view->resize(kSide + 20, kSide + 20);
    view->resize(kSide + 40, kSide + 30);
    EXPECT_TRUE(view->isLiveResizing());
    EXPECT_FALSE(view->hintPanel().isVisible());
    EXPECT_FALSE(view->overlay().showsSelection());
    // The pointer moving on during the resize brings no hint back.
    QTest::mouseMove(view.get(), pointOn(1, 0.7));
    EXPECT_FALSE(view->hintPanel().isVisible());

    ASSERT_TRUE(spinUntil([&] { return !view->isLiveResizing(); }));
    EXPECT_TRUE(view->overlay().showsSelection());
    // The pointer still rests over a sector of the resized diagram.
    EXPECT_TRUE(view->hintPanel().isVisible());
    EXPECT_FALSE(controller.pointedSector().empty());
}

TEST_F(LiveResize, AHighlightFromTheListsWaitsForTheResizeToEnd) {
    FolderRef root = showSample();
    view->resize(kSide + 20, kSide + 20);
    ASSERT_TRUE(view->isLiveResizing());
    Settings::setShowHintForSelectedItem(true);
    const ItemRef big = child(root, "big");
    view->highlightListItem(big);
    EXPECT_TRUE(controller.pointedSector().empty());
    EXPECT_FALSE(view->hintPanel().isVisible());
    ASSERT_TRUE(spinUntil([&] { return !view->isLiveResizing(); }));
    EXPECT_EQ(controller.pointedSector().m_pItem, big);
    EXPECT_TRUE(view->hintPanel().isVisible());
}

using ShadowedView = DiagramView;

// A grab paints the view through a redirection: the rings and the disc,
// drawn in device pixels, must still lie where the label and the outlines
// are drawn.
TEST_F(ShadowedView, RingsStayCentredOnTheLabel) {
    // One folder with one file: both rings are whole circles.
    FolderRef root = memoryRoot("/data");
    file(folder(root.get(), "docs"), "x", 3000);
    showTree(root);
    ASSERT_TRUE(controller.showsDropShadow());
    const QImage image = view->grab().toImage();
    QRect rings, label;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 250) {
                continue;
            }
            // The shadow is translucent; the figure is opaque.
            rings |= QRect(x, y, 1, 1);
            if (pixel.red() > 235 && pixel.green() > 235 && pixel.blue() > 235) {
                label |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(label.isEmpty());
    ASSERT_FALSE(rings.isEmpty());
    EXPECT_NEAR(label.center().x(), rings.center().x(), 3);
    EXPECT_NEAR(label.center().y(), rings.center().y(), 6);
}

// How much darker a pixel of the view is than its corner, on white.
double darkness(const QImage& image, QPointF at) {
    auto onWhite = [&](QPoint point) {
        const QColor pixel = image.pixelColor(point);
        return pixel.alphaF() * (1 - pixel.lightnessF());
    };
    return onWhite(at.toPoint()) - onWhite(QPoint(0, 0));
}

// The shadow follows the figure's outline and lies a little below it: the
// big file reaches only the first ring, the folder beside it the second.
TEST_F(ShadowedView, TheShadowFollowsTheOutlineAndFallsBelowIt) {
    FolderRef root = memoryRoot("/data");
    file(folder(root.get(), "docs"), "x", 3000);
    file(root.get(), "big", 4000);  // from 12 o'clock to past 8 o'clock
    showTree(root);
    const QImage image = view->grab().toImage();
    const double first = controller.radiusOf(1);
    const double second = controller.radiusOf(2);
    const double nearFolder = darkness(image, exactPoint(second + 2, 0.8));
    const double pastFile = darkness(image, exactPoint(second + 2, 0.25));
    EXPECT_GT(nearFolder, 0.03);
    EXPECT_LT(pastFile, 0.005);
    // Beside the file's edge and below it: the shadow is moved down.
    const double right = darkness(image, exactPoint(first + 2, 0.25));
    const double below = darkness(image, exactPoint(first + 2, 0.5));
    EXPECT_GT(right, 0.03);
    EXPECT_GT(below, right + 0.02);
    EXPECT_LT(darkness(image, exactPoint(second + 30, 0.8)), 0.005);
}

// The glow of a running scan repaints the view many times a second; an
// unchanged figure keeps the rings and the shadow it has, and a changed one
// is drawn anew.
TEST_F(ShadowedView, RepaintsOfAnUnchangedFigureReuseItsRingsAndShadow) {
    FolderRef root = showSample();
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    view->render(&image);
    const int builds = controller.dropShadow().builds();
    const int renders = controller.rings().renders();
    ASSERT_GT(builds, 0);
    ASSERT_GT(renders, 0);
    view->render(&image);
    const QPoint corner(view->width() / 2, view->height() / 2);
    view->render(&image, corner, QRegion(QRect(corner, QSize(40, 40))));
    EXPECT_EQ(controller.dropShadow().builds(), builds);
    EXPECT_EQ(controller.rings().renders(), renders);
    file(root.get(), "more", 6000);
    showTree(root);
    image.fill(Qt::white);
    view->render(&image);
    EXPECT_EQ(controller.dropShadow().builds(), builds + 1);
    EXPECT_EQ(controller.rings().renders(), renders + 1);
    // What is drawn again from the kept layer is what a fresh drawing gives.
    RadialController fresh;
    RadialView again(fresh);
    again.resize(view->size());
    fresh.setRoot(root, true);
    QImage fromScratch(view->size(), QImage::Format_ARGB32_Premultiplied);
    fromScratch.fill(Qt::white);
    again.render(&fromScratch);
    EXPECT_EQ(fromScratch, image);
}

using UnscannedFolderHint = DiagramView;

TEST_F(UnscannedFolderHint, TheOccupiedAreaCountsTheFoldersEntries) {
    Settings::setShowHintForSelectedItem(true);
    std::optional<std::int64_t> counted = 7;
    std::string askedFor;
    controller.setUnscannedItemsCounter([&](const std::string& folder) {
        askedFor = folder;
        return counted;
    });
    controller.setRoot(std::make_shared<FolderItem>("/srv/archive", "archive"));
    QTest::mouseMove(view.get(), pointOn(1, 0.3));
    ASSERT_TRUE(view->hintPanel().isVisible());
    EXPECT_EQ(askedFor, "/srv/archive");
    EXPECT_EQ(view->hintPanel().captionText(), "Items:");
    EXPECT_EQ(view->hintPanel().sizeText(), "7");
    // Asked again each time: the folder may have changed meanwhile.
    counted = 12;
    QTest::mouseMove(view.get(), pointOn(1, 0.6));
    EXPECT_EQ(view->hintPanel().sizeText(), "12");
    // A folder that cannot be listed has no count to tell.
    counted.reset();
    QTest::mouseMove(view.get(), pointOn(1, 0.3));
    EXPECT_EQ(view->hintPanel().captionText(), "Items:");
    EXPECT_EQ(view->hintPanel().sizeText(), "Not Calculated");
    controller.setUnscannedItemsCounter(nullptr);
}

class Backdrop : public ::testing::Test {
  protected:
    void SetUp() override {
        panel = std::make_unique<DiagramBackgroundPanel>(controller);
        panel->resize(600, 600);
        panel->show();
        root = memoryRoot("/data");
        file(root.get(), "big", 4000);
        root->calctotalsize();
    }
    void TearDown() override { panel.reset(); }
    // A corner of the panel, away from the circle.
    QColor corner() const { return panel->grab().toImage().pixelColor(20, 20); }

    RadialController controller;
    std::unique_ptr<DiagramBackgroundPanel> panel;
    FolderRef root;
};

TEST_F(Backdrop, FadesOutWhileTheRootBeingScannedIsShownAndBackAfter) {
    controller.setRoot(root, true);
    ASSERT_DOUBLE_EQ(panel->alphaValue(), 0.9999);
    const QColor shown = corner();

    controller.setScanningPath("/data");
    // A fade, not a jump.
    EXPECT_EQ(panel->targetAlpha(), 0.0);
    EXPECT_GT(panel->alphaValue(), 0.5);
    ASSERT_TRUE(spinUntil([&] { return panel->alphaValue() == 0.0; }));
    const QColor cleared = corner();
    EXPECT_NE(shown, cleared);

    controller.setScanningPath({});
    EXPECT_LT(panel->alphaValue(), 0.5);
    ASSERT_TRUE(spinUntil([&] { return panel->alphaValue() == 0.9999; }));
    EXPECT_EQ(corner(), shown);
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(Backdrop, TheScanningGlowRedrawsTheDiagramAtMostTwentyTimesASecond) {
    controller.setRoot(root, true);
    controller.setScanningPath("/data");
    ASSERT_TRUE(spinUntil([&] { return panel->alphaValue() == 0.0; }));
    DiagramOverlayView& overlay = panel->radialView().overlay();
    overlay.StartAnimation();
    ASSERT_TRUE(overlay.pulseRunning());

    PaintCounter counter(panel->radialView());
    test::serveFor(1000);
    // The glow still moves, but each of its frames repaints the whole diagram
    // beneath it: at the animation's own rate that is 60 a second.
    EXPECT_GE(counter.paints, 3);
    EXPECT_LE(counter.paints, 22);
    overlay.StopAnimation();
}

TEST_F(Backdrop, StaysWhenTheScanIsOfAnotherTarget) {
    controller.setRoot(root, true);
    controller.setScanningPath("/elsewhere");
    EXPECT_EQ(panel->targetAlpha(), 0.9999);
}

}  // namespace
}  // namespace korvex
