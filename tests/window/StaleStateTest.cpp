#include "window/MainWindowFixture.h"

#include "diagram/DiagramHintPanel.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace korvex {
namespace {

// What the window shows must be about the target, folder and tree on screen
// now, never left over from before.
class StaleStateTest : public MainWindowTest {
  protected:
    void SetUp() override {
        other.file("other.bin", 50'000);
        other.file("sub/inner.bin", 20'000);
        ASSERT_NO_FATAL_FAILURE(showActive());
    }
    // Both folders scanned, the test tree selected.
    void scanBoth() {
        ASSERT_NO_FATAL_FAILURE(scanFolder(other.path(), 1));
        ASSERT_NO_FATAL_FAILURE(scanFolder(tree.path(), 2));
    }
    ItemRef node(const std::string& relative) {
        return controller().getItemByFilePath(tree.path(relative));
    }
    // A click on the row named `name`, once the column shows.
    void clickRowNamed(FolderColumnView* column, const QString& name) {
        clickRow(column, rowNamed(column, name));
    }
    DiagramHintPanel& hint() { return views().radialView->hintPanel(); }
    void pointAt(const ItemRef& item) {
        const std::optional<QPoint> point = pointOnSector(radial(), item);
        ASSERT_TRUE(point.has_value());
        // From the corner first: a move to where the pointer already is is no move.
        QTest::mouseMove(views().radialView, QPoint(1, 1));
        QTest::mouseMove(views().radialView, *point);
        ASSERT_TRUE(waitFor([&] { return hint().isVisible(); }, 2s));
    }

    test::TempTree other;
};

TEST_F(StaleStateTest, TheHintGoesWithItsRootAndWhenADialogTakesTheWindow) {
    ASSERT_NO_FATAL_FAILURE(scanBoth());
    ASSERT_NO_FATAL_FAILURE(pointAt(node("a")));
    // Another target chosen from the keyboard, the pointer still on the diagram.
    views().volumesList->setFocus();
    const int from = controller().volumesController().rowOfPath(tree.path());
    const int to = controller().volumesController().rowOfPath(other.path());
    for (int step = 0; step < std::abs(to - from) && selected()->getPath() != other.path();
         ++step) {
        QTest::keyClick(views().volumesList, to > from ? Qt::Key_Down : Qt::Key_Up);
    }
    ASSERT_EQ(selected()->getPath(), other.path());
    EXPECT_FALSE(hint().isVisible()) << "the hint spoke of the other tree";

    ASSERT_NO_FATAL_FAILURE(clickTarget(tree.path()));
    ASSERT_NO_FATAL_FAILURE(pointAt(node("a")));
    // A dialog in the window's corner, away from the pointer: the diagram
    // sees no pointer leave, only the window losing the keyboard.
    QDialog dialog(&window);
    const QRect frame = window.geometry();
    dialog.setGeometry(frame.right() - 60, frame.bottom() - 60, 50, 50);
    dialog.show();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &dialog; }));
    EXPECT_FALSE(hint().isVisible()) << "the hint would float over the dialog";
    dialog.reject();
}

TEST_F(StaleStateTest, AZoomOvertakenByAnotherTargetEndsOnThatTarget) {
    ASSERT_NO_FATAL_FAILURE(scanBoth());
    ASSERT_NO_FATAL_FAILURE(clickSector(node("a")));
    ASSERT_EQ(radial().drillState(), 1);
    ASSERT_NO_FATAL_FAILURE(clickTarget(other.path()));
    QTest::qWait(400);  // longer than the zoom would have taken
    const TopLevelRef shown = selected();
    ASSERT_EQ(shown->getPath(), other.path());
    EXPECT_EQ(radial().root(), ItemRef(shown->scannedRoot()));
    EXPECT_EQ(contents().folderColumns().column(0)->folder(), ItemRef(shown->scannedRoot()));
}

TEST_F(StaleStateTest, ReturningToATargetShowsItsFolderAndSelectionAgain) {
    ASSERT_NO_FATAL_FAILURE(scanBoth());
    ASSERT_NO_FATAL_FAILURE(clickSector(node("a")));
    ASSERT_TRUE(waitForZoom());
    FolderColumnView* column = contents().folderColumns().column(1);
    ASSERT_EQ(column->folder(), node("a"));
    ASSERT_NO_FATAL_FAILURE(clickRowNamed(column, "b"));
    ASSERT_EQ(contents().selectedItems(), ItemList{node("a/b")});

    ASSERT_NO_FATAL_FAILURE(clickTarget(other.path()));
    ASSERT_NO_FATAL_FAILURE(clickTarget(tree.path()));
    EXPECT_EQ(radial().root(), node("a"));
    EXPECT_EQ(contents().selectedItems(), ItemList{node("a/b")});
    // The selection opened the folder's column, as the user left it.
    ASSERT_EQ(contents().folderColumns().columnCount(), 3);
    EXPECT_EQ(contents().folderColumns().column(2)->folder(), node("a/b"));
}

TEST_F(StaleStateTest, ARowChosenWhileTheScanRunsStaysChosen) {
    slowRunUp();
    ASSERT_NO_FATAL_FAILURE(startScanOf(tree.path()));
    ASSERT_TRUE(waitFor([&] { return controller().isRunningUp(); }));
    // The lists take up the growing tree within half a second.
    FolderColumnView* column = contents().folderColumns().column(0);
    ASSERT_TRUE(waitFor([&] { return column->model()->rowCount() > 0; }, 1s));
    ASSERT_TRUE(controller().isProcessing());
    ASSERT_NO_FATAL_FAILURE(clickRowNamed(column, "notes \"quoted\".txt"));
    ASSERT_EQ(contents().selectedItems().size(), 1u);
    const ItemRef chosen = contents().selectedItems().front();
    // The lists reload while the scan runs, and once more at its end.
    ASSERT_TRUE(waitForScans(1));
    QTest::qWait(500);
    EXPECT_EQ(contents().selectedItems(), ItemList{chosen});
}

TEST_F(StaleStateTest, ASearchFromBeforeAScanGoesAndNoneRunsOverTheGrowingTree) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    QLineEdit& field = contents().searchField();
    field.setFocus();
    QTest::keyClicks(&field, "deep");
    QAbstractItemModel* results = contents().searchResultsView().model();
    ASSERT_TRUE(waitFor([&] { return results->rowCount() == 1; }, 5s));

    slowRunUp();
    views().startStopButton->click();
    ASSERT_TRUE(controller().isProcessing());
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(results->rowCount(), 0) << "hits of the tree that is being replaced";
    EXPECT_NE(contents().listProxy().activeType(), ActiveControllerType::search);
    // Reloads while the tree grows search nothing.
    ASSERT_TRUE(waitForScans(2));
    EXPECT_EQ(results->rowCount(), 0);
}

TEST_F(StaleStateTest, ADoubleClickOnTheScanningRowLetsTheScanFinish) {
    slowRunUp();
    ASSERT_NO_FATAL_FAILURE(startScanOf(tree.path()));
    VolumesListView* list = views().volumesList;
    const int row = controller().volumesController().rowOfPath(tree.path());
    doubleClickAt(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
    EXPECT_TRUE(controller().isProcessing());
    ASSERT_TRUE(waitForScans(1));
    EXPECT_EQ(selected()->scanningState(), TopLevelItem::Scanned);
}

TEST_F(StaleStateTest, AnUnreadFolderRowAsksAboutAccessToIt) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    node("a")->setAccessDenied(true);
    contents().reload();
    FolderColumnView* column = contents().folderColumns().column(0);
    const QModelIndex row = rowNamed(column, "a");
    ASSERT_TRUE(row.isValid());
    doubleClickAt(column->viewport(), column->visualRect(row).center());
    QMessageBox* question = nullptr;
    ASSERT_TRUE(
        waitFor([&] { return (question = window.findChild<QMessageBox*>()) != nullptr; }, 3s));
    EXPECT_EQ(question->text(), "The folder was not scanned") << "readable now: scan it again";
    question->reject();
}

TEST_F(StaleStateTest, ASiblingsRequestForTheBiggestFilesShowsThem) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    ScanRequestTarget& target = controller();
    target.switchToBiggestTab();
    EXPECT_EQ(contents().listProxy().activeType(), ActiveControllerType::biggest);
    EXPECT_TRUE(contents().biggestSwitch().isChecked());
    EXPECT_TRUE(contents().biggestFilesView().isVisible());
}

}  // namespace
}  // namespace korvex
