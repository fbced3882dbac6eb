#include "diagram/DiagramColors.h"
#include "diagram/DiagramHintPanel.h"
#include "diagram/DiagramViewFixture.h"
#include "platform/desktop/PathListMime.h"
#include "scan/targets/VolumeItem.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QTest>

namespace korvex {
namespace {

using namespace test;

using HitTest = DiagramView;

std::optional<HintContent> hintOf(const RadialController& controller, const ItemRef& node) {
    SectorItem sector;
    sector.m_pItem = node;
    return controller.hintForSector(sector);
}

TEST_F(HitTest, RingsAndSectorsAreFoundWhereTheyAreDrawn) {
    FolderRef root = showSample();
    ASSERT_EQ(controller.subLevels(), 2);
    EXPECT_EQ(controller.getItemByPoint(controller.center()).m_pItem, root);
    SectorItem big = controller.getItemByPoint(pointOn(1, 0.7));
    EXPECT_EQ(big.m_pItem, child(root, "big"));
    EXPECT_EQ(big.m_nSubLevel, 1);
    EXPECT_DOUBLE_EQ(big.m_dSkAngle, 0.5);
    SectorItem y = controller.getItemByPoint(pointOn(2, 0.4));
    ASSERT_NE(y.m_pItem, nullptr);
    EXPECT_EQ(y.m_pItem->name(), "y");
    EXPECT_DOUBLE_EQ(y.m_dSkAngle, 0.3);
    // Nothing below a file, nothing outside the circle.
    EXPECT_TRUE(controller.getItemByPoint(pointOn(2, 0.7)).empty());
    EXPECT_TRUE(controller.getItemByPoint(QPointF(2, 2)).empty());
}

TEST_F(HitTest, ARingBoundaryBelongsToTheInnerRing) {
    FolderRef root = showSample();
    const double boundary = controller.radiusOf(1);
    EXPECT_EQ(controller.getItemByPoint(exactPoint(boundary, 0.25)).m_pItem.get(), docs);
    SectorItem outer = controller.getItemByPoint(exactPoint(boundary + 0.01, 0.25));
    ASSERT_NE(outer.m_pItem, nullptr);
    EXPECT_EQ(outer.m_pItem->name(), "x");
    EXPECT_EQ(controller.getItemByPoint(exactPoint(controller.radiusOf(0), 0.25)).m_pItem, root);
}

TEST_F(HitTest, TheSmallItemsSectorPointsAtTheChildUnderThePointer) {
    FolderRef root = showSample();
    ASSERT_FALSE(controller.CanDrawItem(*child(root, "tiny"), 1));
    SectorItem tiny = controller.getItemByPoint(pointOn(1, 0.9995));
    EXPECT_EQ(tiny.m_pItem, child(root, "tiny"));
    EXPECT_NEAR(tiny.m_dSkAngle, 0.999, 1e-9);
}

TEST_F(HitTest, TheFreeAreaOfAScannedVolumeHitsNothing) {
    VolumeRef volume = VolumeSystemItem::initWithPath("/vol", 20000, 10000);
    file(volume.get(), "a", 6000);
    file(volume.get(), "b", 4000);
    volume->setUseFreeSector(true);
    volume->calctotalsize();
    volume->sortChildrenBySize(true);
    controller.setRoot(volume, true);
    ASSERT_TRUE(controller.drawsFreeSector());
    EXPECT_EQ(controller.getItemByPoint(pointOn(1, 0.2)).m_pItem->name(), "a");
    EXPECT_TRUE(controller.getItemByPoint(pointOn(1, 0.75)).empty());
}

TEST_F(HitTest, FreeSpaceCanBeShownOnlyForAVolumeWithRoomLeft) {
    VolumeRef volume = VolumeSystemItem::initWithPath("/vol", 20000, 10000);
    file(volume.get(), "a", 6000);
    volume->calctotalsize();
    controller.setRoot(volume, true);
    EXPECT_TRUE(controller.canSwitchFreeSector());
    controller.setDrawFreeSector();
    EXPECT_TRUE(controller.drawsFreeSector());
    EXPECT_TRUE(volume->getUseFreeSector());

    VolumeRef full = VolumeSystemItem::initWithPath("/full", 20000, 100);
    file(full.get(), "a", 19900);
    full->calctotalsize();
    controller.setRoot(full, true);
    EXPECT_FALSE(controller.canSwitchFreeSector()) << "99.5 % full";
    FolderRef folder = sampleTree();
    showTree(folder);
    EXPECT_FALSE(controller.canSwitchFreeSector()) << "a folder knows no free space";
}

TEST_F(HitTest, ARotatedDiagramHitsWhatItDraws) {
    FolderRef root = showSample();
    RadialController::setReferenceAngle(M_PI / 2 - 1.0);
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        controller.DrawRadialSructure(painter, image.rect());
    }
    // At 12 o'clock a turned diagram shows what lay 1 radian further on.
    const QPointF c = controller.center();
    const double r = (controller.radiusOf(0) + controller.radiusOf(1)) / 2;
    const QPoint top(static_cast<int>(c.x()), static_cast<int>(c.y() - r));
    const SectorItem hit = controller.getItemByPoint(top);
    ASSERT_EQ(hit.m_pItem, child(root, "big"));
    const QColor drawn = image.pixelColor(top);
    const QColor expected = DiagramColors::shared().sectorFill(ColorNormal, 1, 0.5, 0.4, 1.0);
    EXPECT_NEAR(drawn.hueF(), expected.hueF(), 0.03);
}

TEST_F(HitTest, UnscannedTargetsAnswerTheirMarkers) {
    auto volume = std::make_shared<VolumeItem>("/", "File System", 1000, 400, 0);
    controller.setRoot(volume);
    EXPECT_EQ(controller.getItemByPoint(controller.center()).marker, SectorMarker::Target);
    EXPECT_EQ(controller.getItemByPoint(pointOn(1, 0.3)).marker, SectorMarker::Occupied);
    SectorItem free = controller.getItemByPoint(pointOn(1, 0.8));
    EXPECT_EQ(free.marker, SectorMarker::Free);
    EXPECT_EQ(controller.hintForSector(free)->sizeText, "400 B");
    EXPECT_EQ(controller.hintForSector(free)->caption, "Free:");
}

TEST_F(HitTest, AScanningVolumeShowsWhatIsNotCountedYet) {
    VolumeRef volume = VolumeSystemItem::initWithPath("/vol", 20000, 10000);
    file(volume.get(), "a", 4000);
    volume->calctotalsize();
    controller.setScanningPath("/vol");
    controller.setRoot(volume, true);
    ASSERT_TRUE(controller.isRootBeingScanned());
    SectorItem unscanned = controller.getItemByPoint(pointOn(1, 0.8));
    EXPECT_EQ(unscanned.marker, SectorMarker::Unscanned);
    EXPECT_DOUBLE_EQ(unscanned.m_dSkAngle, 0.4);
    EXPECT_EQ(controller.hintForSector(unscanned)->title, "Unscanned Disk Space");
    // A click on a diagram being scanned does nothing.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.2));
    EXPECT_EQ(controller.drillState(), 0);
}

using Pointer = DiagramView;

// The bounds of what `draw` paints on a transparent view-sized image.
template <class Draw>
QRect paintedExtent(QSize size, Draw draw) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        draw(painter);
    }
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                extent |= QRect(x, y, 1, 1);
            }
        }
    }
    return extent;
}

TEST_F(Pointer, AnOutlineLeftBehindIsRepaintedHaloAndAll) {
    FolderRef root = showSample();
    QRegion repainted;
    controller.setOverlayHandler([&](const QRectF& area) { repainted += area.toAlignedRect(); });
    auto outline = [&] {
        return paintedExtent(view->size(), [&](QPainter& p) { controller.DrawFocusItem(p); });
    };
    QRectF dirty;
    ASSERT_TRUE(controller.OperateMousePoint(pointOn(1, 0.25), dirty));  // docs
    QRect lit = outline();
    ASSERT_FALSE(lit.isEmpty());
    repainted = {};
    ASSERT_TRUE(controller.OperateMousePoint(pointOn(1, 0.7), dirty));  // big
    EXPECT_TRUE((QRegion(lit) - repainted).isEmpty()) << "a second outline would stay lit";

    lit = outline();
    repainted = {};
    ASSERT_TRUE(controller.OperateMouseExit(dirty));
    EXPECT_TRUE((QRegion(lit) - repainted).isEmpty());

    // A row chosen in a list, then another.
    controller.setHiliteOnRadial(child(root, "big"));
    controller.setHiliteOnRadial(ItemRef(docs));
    lit = outline();
    repainted = {};
    controller.setHiliteOnRadial(nullptr);
    EXPECT_TRUE((QRegion(lit) - repainted).isEmpty());
}

TEST_F(Pointer, ARowChosenInTheListsIsPointedWithItsHintBesideItsSector) {
    Settings::setShowHintForSelectedItem(true);
    FolderRef root = showSample();
    const ItemRef big = child(root, "big");
    view->highlightListItem(big);
    EXPECT_EQ(controller.pointedItem(), big);
    ASSERT_TRUE(view->hintPanel().isVisible());
    EXPECT_EQ(view->hintPanel().titleText(), "big");
    // The hint stands off the sector's rightmost point, not over the sector.
    const std::optional<QPointF> rightmost = controller.getRightPointerOfItemSector(big.get());
    ASSERT_TRUE(rightmost);
    EXPECT_GT(view->hintPanel().geometry().left(), view->mapToGlobal(rightmost->toPoint()).x());

    // Another row moves both; no single row clears them.
    view->highlightListItem(ItemRef(docs));
    EXPECT_EQ(controller.pointedItem().get(), docs);
    EXPECT_EQ(view->hintPanel().titleText(), "docs");
    view->highlightListItem(nullptr);
    EXPECT_TRUE(controller.pointedSector().empty());
    EXPECT_FALSE(view->hintPanel().isVisible());

    Settings::setShowHintForSelectedItem(false);
    view->highlightListItem(big);
    EXPECT_EQ(controller.pointedItem(), big) << "the outline does not depend on the hint";
    EXPECT_FALSE(view->hintPanel().isVisible());
}

TEST_F(Pointer, HintTitlesNameWhatIsSpecialAboutANode) {
    FolderRef root = sampleTree();
    FolderSystemItem* trash = folder(root.get(), ".Trash");
    trash->setTrashFlag(true);
    ItemRef old = file(trash, "old", 5);
    auto* secret =
        FolderSystemItem::initWithPathSize(".secret", root.get(), 0, false, 0, true, false).get();
    secret->setHiddenFlag(true);
    ItemRef inner = file(secret, "inner", 5);
    auto locked = SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, root.get(),
                                                  "Inaccessible space", 7);
    showTree(root);
    EXPECT_EQ(hintOf(controller, trash).value().title, "Trash");
    EXPECT_EQ(hintOf(controller, old).value().title, "old (item in the Trash)");
    EXPECT_EQ(hintOf(controller, secret).value().title, ".secret (hidden item)");
    EXPECT_EQ(hintOf(controller, inner).value().title, "inner (sub hidden item)");
    EXPECT_EQ(hintOf(controller, locked).value().title, "Inaccessible space");
    EXPECT_FALSE(controller.hintForSector(SectorItem()).has_value());
}

using Clicks = DiagramView;

TEST_F(Clicks, AClickOnAFolderZoomsInAndSetsTheRootAtTheEnd) {
    FolderRef root = showSample();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.25));
    ASSERT_EQ(controller.drillState(), 1);
    EXPECT_EQ(controller.root(), root);
    // Input waits while the zoom runs.
    QRectF dirty;
    EXPECT_FALSE(controller.OperateMousePoint(pointOn(1, 0.7), dirty));
    view->grab();  // one frame of the morph
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.drillState() == 0; }, 2000));
    EXPECT_EQ(controller.root().get(), docs);
    // A click on the root disc goes back up, animated too.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, controller.center().toPoint());
    EXPECT_EQ(controller.drillState(), 2);
    EXPECT_EQ(controller.root(), root);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.drillState() == 0; }, 2000));
    EXPECT_EQ(controller.root(), root);
}

TEST_F(Clicks, WhileTheTreeGrowsOnlyItsFoldersOpen) {
    FolderRef root = sampleTree();
    controller.setScanningPath("/data");
    showTree(root);
    ASSERT_TRUE(controller.isRootBeingScanned());
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.7));  // big, a file
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, controller.center().toPoint());
    EXPECT_EQ(controller.drillState(), 0);
    EXPECT_FALSE(controller.drawsFreeSector());
    EXPECT_TRUE(host.calls.empty()) << "no rescan while the scan runs";
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.25));
    EXPECT_EQ(controller.drillState(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.drillState() == 0; }, 2000));
    EXPECT_EQ(controller.root().get(), docs);
}

TEST_F(Clicks, AClickRightAfterADragRotatesButDoesNotZoom) {
    FolderRef root = showSample();
    // Pressed outside the rings: the drag turns the diagram.
    const QPoint corner(20, kSide / 2);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, corner);
    QMouseEvent move(QEvent::MouseMove, QPointF(kSide / 2, 20),
                     view->mapToGlobal(QPointF(kSide / 2, 20)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view.get(), &move);
    EXPECT_NEAR(RadialController::referenceAngle(), M_PI / 2 - M_PI / 2, 0.05);
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, pointOn(1, 0.1));
    EXPECT_EQ(controller.drillState(), 0);
    EXPECT_EQ(controller.root(), root);
    // The next plain click works again.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.1));
    EXPECT_EQ(controller.drillState(), 1);
}

TEST_F(Clicks, ModifiersAskTheFileManagerInsteadOfZooming) {
    FolderRef root = showSample();
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::ControlModifier, pointOn(1, 0.25));
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::ShiftModifier, pointOn(1, 0.7));
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::AltModifier, pointOn(1, 0.7));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"reveal /data/docs", "preview /data/big",
                                                    "properties /data/big"}));
    EXPECT_EQ(controller.drillState(), 0);
}

TEST_F(Clicks, AnUnscannedTargetStartsItsScanUnlessOneRuns) {
    auto volume = std::make_shared<VolumeItem>("/", "File System", 1000, 400, 0);
    controller.setRoot(volume);
    host.scanning = true;
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.3));
    EXPECT_TRUE(host.calls.empty());
    host.scanning = false;
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, pointOn(1, 0.3));
    EXPECT_EQ(host.calls, std::vector<std::string>{"rescan"});
}

using Keys = DiagramView;

TEST_F(Keys, ReturnTogglesTheListSelectionInTheCollection) {
    FolderRef root = showSample();
    host.listSelection = {child(root, "big"), child(root, "mid")};
    // Without a collection the key does nothing.
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_FALSE(child(root, "big")->isCollected());
    MarkingCollection collection;
    controller.setCollectionActions(&collection);
    child(root, "big")->setCollected(true);
    QTest::keyClick(view.get(), Qt::Key_Enter);
    EXPECT_TRUE(child(root, "big")->isCollected());
    EXPECT_TRUE(child(root, "mid")->isCollected());
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_FALSE(child(root, "big")->isCollected());
    EXPECT_FALSE(child(root, "mid")->isCollected());
    host.scanning = true;
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_FALSE(child(root, "mid")->isCollected());
}

TEST_F(Keys, CopyPutsThePointedPathOnTheClipboard) {
    FolderRef root = showSample();
    QTest::mouseMove(view.get(), pointOn(2, 0.1));
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "/data/docs/x");
    auto paths = platform::decodePathList(data->data(platform::kKorvexDataMime));
    ASSERT_TRUE(paths.has_value());
    EXPECT_EQ(*paths, std::vector<std::string>{"/data/docs/x"});
}

TEST_F(Keys, ListSelectionIsOutlinedAndFollowsTheTree) {
    FolderRef root = showSample();
    controller.selectItems({child(root, "big"), root, docs->childAtIndex(0)});
    ASSERT_EQ(controller.selectedSectors().size(), 2u);
    EXPECT_EQ(controller.selectedSectors()[1].m_nSubLevel, 2);
    QImage plain(kSide, kSide, QImage::Format_ARGB32);
    plain.fill(Qt::black);
    QImage outlined = plain;
    {
        QPainter painter(&outlined);
        controller.DrawSelectedItem(painter);
    }
    EXPECT_NE(plain, outlined);
}

}  // namespace
}  // namespace korvex
