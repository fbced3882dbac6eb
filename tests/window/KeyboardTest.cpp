#include "window/MainWindowFixture.h"

#include "app/toolkit/Appearance.h"
#include "app/toolkit/FocusRing.h"
#include "browse/preview/PreviewController.h"
#include "cleanup/collection/views/CollectionPanel.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace korvex {
namespace {

class KeyboardTest : public MainWindowTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(showActive());
        ASSERT_NO_FATAL_FAILURE(scanTree());
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), static_cast<Qt::Key>(key), modifiers);
    }
    // The widgets Tab stops at from `start`, once round.
    std::vector<QWidget*> tabRound(QWidget* start) {
        start->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> stops{start};
        for (int step = 0; step < 40; ++step) {
            press(Qt::Key_Tab);
            if (focused() == start) {
                break;
            }
            stops.push_back(focused());
        }
        return stops;
    }
    FocusRing* ring() { return window.findChild<FocusRing*>(); }
    // Whether the ring shows around the focused control: its outer stroke in
    // the highlight colour, drawn where the window is.
    bool ringDrawnAround(QWidget* control) {
        if (ring() == nullptr || ring()->target() != control || !ring()->isVisible()) {
            return false;
        }
        QCoreApplication::processEvents();
        const QImage shot = window.grab().toImage();
        const QPoint topMiddle =
            control->mapTo(&window, QPoint(control->width() / 2, 0)) * shot.devicePixelRatio();
        const QColor highlight = window.palette().color(QPalette::Active, QPalette::Highlight);
        const QColor seen = shot.pixelColor(topMiddle + QPoint(0, 1));
        return std::abs(seen.red() - highlight.red()) + std::abs(seen.green() - highlight.green()) +
                   std::abs(seen.blue() - highlight.blue()) <
               60;
    }
};

TEST_F(KeyboardTest, TabVisitsEveryControlInReadingOrderWithARingInBothAppearances) {
    ContentsPanel& panel = contents();
    const std::vector<QWidget*> stops = tabRound(views().startStopButton);
    const std::vector<QWidget*> expected{
        views().startStopButton, window.findChild<QPushButton*>("scanFolderButton"),
        views().volumesList,     views().radialView,
        &panel.foldersSwitch(),  &panel.biggestSwitch(),
        &panel.searchField(),    panel.folderColumns().column(0)};
    // In this order, each once; the Selected list's buttons are off while it is empty.
    std::vector<QWidget*> seen;
    std::copy_if(stops.begin(), stops.end(), std::back_inserter(seen), [&](QWidget* stop) {
        return std::find(expected.begin(), expected.end(), stop) != expected.end();
    });
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(stops.size(), expected.size()) << "no stop the user cannot see or use";

    for (unsigned long long appearance : {1ULL, 2ULL}) {
        Appearance::setStoredType(appearance);
        const std::vector<QWidget*> sampled{views().startStopButton, views().volumesList,
                                            views().radialView, &panel.searchField()};
        for (QWidget* stop : sampled) {
            stop->setFocus(Qt::TabFocusReason);
            EXPECT_TRUE(ringDrawnAround(stop))
                << stop->metaObject()->className() << " in appearance " << appearance;
        }
    }
    Appearance::setStoredType(0);
}

TEST_F(KeyboardTest, ColumnsOpenedLaterTakeTheirPlaceInTheTabOrder) {
    ContentsPanel& panel = contents();
    FolderColumnView* first = panel.folderColumns().column(0);
    first->setFocus(Qt::TabFocusReason);
    first->setCurrentIndex(first->model()->index(0, 0));  // "a", the biggest
    ASSERT_EQ(panel.folderColumns().columnCount(), 2);
    QCoreApplication::processEvents();  // the new column is shown
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), panel.folderColumns().column(1));
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), views().startStopButton) << "round again";
}

TEST_F(KeyboardTest, SpaceTicksTheCurrentRowAndTheGoUpKeysLeaveTheFolder) {
    RadialController& radial = controller().radialController();
    const ItemRef folderA = childNamed(radial.root(), "a");
    ASSERT_NE(folderA, nullptr);
    ASSERT_NO_FATAL_FAILURE(clickSector(folderA));
    ASSERT_TRUE(waitForZoom());
    ASSERT_EQ(radial.root(), folderA);

    // The column of "a" shows big.bin first: Space collects it, and again takes it out.
    FolderColumnView* column = contents().folderColumns().column(1);
    ASSERT_EQ(column->folder(), folderA);
    column->setFocus(Qt::TabFocusReason);
    column->setCurrentIndex(column->model()->index(0, 0));
    ASSERT_EQ(column->model()->index(0, 0).data().toString(), "big.bin");
    press(Qt::Key_Space);
    EXPECT_TRUE(controller().collection().isFilePathInCollection(tree.path("a/big.bin")));
    press(Qt::Key_Space);
    EXPECT_FALSE(controller().collection().isFilePathInCollection(tree.path("a/big.bin")));

    // Backspace in a list goes up: the diagram and the lists show the root again.
    press(Qt::Key_Backspace);
    ASSERT_TRUE(waitForZoom());
    EXPECT_EQ(radial.root(), ItemRef(selected()->scannedRoot()));
    EXPECT_EQ(contents().folderColumns().column(0)->folder(), radial.root());

    // Alt+Up in the diagram, after going into a/b.
    radial.startDrillInAnumation(childNamed(folderA, "b"));
    ASSERT_TRUE(waitForZoom());
    views().radialView->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(waitForZoom());
    EXPECT_EQ(radial.root(), folderA);
    press(Qt::Key_Backspace);
    ASSERT_TRUE(waitForZoom());
    EXPECT_EQ(radial.root(), ItemRef(selected()->scannedRoot()));
    press(Qt::Key_Backspace);  // nothing above the scanned folder
    EXPECT_EQ(radial.root(), ItemRef(selected()->scannedRoot()));
}

TEST_F(KeyboardTest, ThePreviewTakesTheKeysAndEscapeGivesThemBack) {
    auto& preview = PreviewController::sharedPreviewController();
    preview.setDesktopPreviewer(nullptr);  // the built-in window, never the desktop's
    FolderColumnView* column = contents().folderColumns().column(0);
    column->setFocus(Qt::TabFocusReason);
    controller().contentsPanelPreview({tree.path("notes \"quoted\".txt")});
    ASSERT_NE(preview.previewPanel(), nullptr);
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == preview.previewPanel(); }));
    EXPECT_TRUE(preview.previewPanel()->isAncestorOf(focused()) ||
                focused() == preview.previewPanel());
    press(Qt::Key_Escape);
    EXPECT_FALSE(preview.panelVisible());
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    EXPECT_EQ(focused(), column) << "the list the preview was opened from has the keys again";
}

TEST_F(KeyboardTest, EscapeClosesASheet) {
    controller().collection().setSelected(
        true, controller().getItemByFilePath(tree.path("notes \"quoted\".txt")));
    views().collectionPanel->mainButton()->click();
    QWidget* sheet = nullptr;
    ASSERT_TRUE(waitFor([&] {
        sheet = QApplication::activeModalWidget();
        return sheet != nullptr && sheet->isVisible();
    }));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == sheet; }));
    press(Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return QApplication::activeModalWidget() == nullptr; }, 3s));
}

}  // namespace
}  // namespace korvex
