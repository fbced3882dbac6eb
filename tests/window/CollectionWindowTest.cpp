#include "window/MainWindowFixture.h"

#include "browse/lists/FileListModel.h"
#include "cleanup/collection/views/CollectionPanel.h"
#include "cleanup/collection/views/RemoveListSheet.h"
#include "platform/desktop/FileUris.h"
#include "platform/desktop/PathListMime.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>

namespace korvex {
namespace {

namespace fs = std::filesystem;

// Names whose paths must cross a drag byte for byte.
const std::string kLineBreakName = "odd/two\nlines.bin";
const std::string kInvalidName = "odd/caf\xE9-\xFF.bin";
// Reads the same as the one above once both are decoded.
const std::string kInvalidTwin = "odd/caf\xE9-\xFE.bin";
// A destination whose name looks like the result text's own markup.
const std::string kMarkupFolder = "R&D <b>";

class CollectionWindowTest : public ::testing::Test {
  protected:
    CollectionWindowTest() {
        tree.file("keep.bin", 40'000);
        tree.file("gone.bin", 60'000);
        tree.file("docs/a.txt", 3'000);
        tree.file(kLineBreakName, 20'000);
        tree.file(kInvalidName, 30'000);
        tree.file(kInvalidTwin, 5'000);
        target.file(kMarkupFolder + "/a.txt", 10);
        target.file(kMarkupFolder + "/a 2.txt", 10);
    }

    void SetUp() override {
        controller().folderFiling().doScanFolder(tree.path(), false);
        views().startStopButton->click();
        ASSERT_TRUE(waitFor([&] { return controller().scannedCount() >= 1; }));
        root = controller().radialController().root();
        ASSERT_NE(root, nullptr);
    }

    CSTreeController& controller() { return window.treeController(); }
    const MainWindowViews& views() const { return window.views(); }
    CollectionPanel& panel() { return *views().collectionPanel; }
    DoCollectionController& collection() { return controller().collection(); }
    ItemRef node(const std::string& relative) {
        return controller().getItemByFilePath(tree.path(relative));
    }
    // The size line of the scanned folder's row in the left panel.
    QString leftRowSubtitle() {
        QAbstractItemModel* rows = views().volumesList->model();
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QModelIndex index = rows->index(row, 0);
            if (index.data(Qt::ToolTipRole).toString() == QString::fromStdString(tree.path()))
                return index.data(Qt::AccessibleDescriptionRole).toString();
        }
        return {};
    }
    RemoveListSheet* sheet() { return controller().collectionViews().reviewSheet(); }
    bool sheetShows(const char* title) {
        return waitFor([&] { return sheet() && sheet()->titleLabel()->text() == title; }, 10s);
    }
    // The panel's main button pressed, then the review sheet titled `title`.
    bool reviewShows(const char* title = "Review and confirm removal") {
        panel().mainButton()->click();
        return sheetShows(title);
    }

    test::TempSettings settings;
    test::TempTree home;
    test::TempTree data;
    test::ScopedVariable dataHome{"XDG_DATA_HOME", data.path()};
    test::TempTree tree;
    test::TempTree target;
    MainWindow window{home.path()};
    ItemRef root;
};

TEST_F(CollectionWindowTest, ReviewedRemovalTrashesOnlyTheTickedFileAndShrinksTheTree) {
    EXPECT_FALSE(panel().mainButton()->isEnabled());
    EXPECT_TRUE(panel().emptyHint()->isVisibleTo(&panel()));
    collection().setSelected(true, node("keep.bin"));
    collection().setSelected(true, node("gone.bin"));
    EXPECT_TRUE(panel().summaryLabel()->isVisibleTo(&panel()));
    EXPECT_EQ(panel().summaryLabel()->text(), "2 items");
    EXPECT_FALSE(panel().emptyHint()->isVisibleTo(&panel()));
    EXPECT_EQ(panel().mainButton()->text(), "Review to Remove");
    ASSERT_TRUE(panel().mainButton()->isEnabled());
    const std::int64_t before = root->gettotalsize();
    const QString headerBefore = window.summaryPanel()->sizeLabel()->text();
    const QString rowBefore = leftRowSubtitle();

    ASSERT_TRUE(reviewShows());
    ASSERT_EQ(sheet()->rows()->topLevelItemCount(), 2);
    QTreeWidgetItem* keep = sheet()->rowFor(tree.path("keep.bin"));
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(sheet()->subtitleLabel()->text().startsWith("2 of 2 items ticked, "));
    keep->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(sheet()->subtitleLabel()->text().startsWith("1 of 2 items ticked, "));
    EXPECT_TRUE(sheet()->actionButton()->isEnabled());
    sheet()->rowFor(tree.path("gone.bin"))->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(sheet()->actionButton()->isEnabled()) << "nothing ticked, nothing to do";
    sheet()->rowFor(tree.path("gone.bin"))->setCheckState(0, Qt::Checked);
    EXPECT_EQ(sheet()->actionButton()->text(), "Move to Trash");
    EXPECT_FALSE(sheet()->showTrashButton()->isVisibleTo(sheet()));
    sheet()->actionButton()->click();

    ASSERT_TRUE(sheetShows("Moved to Trash"));
    EXPECT_EQ(sheet()->subtitleLabel()->text(),
              "1 item moved to the Trash. Its space returns when the Trash is emptied.");
    // The sheet offers the Trash, and says so when nothing opens it.
    int trashOpened = 0;
    controller().collectionViews().setTrashOpener([&] {
        ++trashOpened;
        return true;
    });
    ASSERT_TRUE(sheet()->showTrashButton()->isVisibleTo(sheet()));
    sheet()->showTrashButton()->click();
    EXPECT_EQ(trashOpened, 1);
    EXPECT_FALSE(sheet()->rows()->isVisible());
    EXPECT_FALSE(fs::exists(tree.path("gone.bin")));
    EXPECT_TRUE(fs::exists(tree.path("keep.bin")));
    EXPECT_TRUE(fs::exists(data.path("Trash/files/gone.bin")));
    // The tree follows once the operation's report reaches the main thread.
    EXPECT_TRUE(waitFor([&] { return node("gone.bin") == nullptr; }, 5s));
    EXPECT_LT(root->gettotalsize(), before);
    // The header and the folder's row in the left panel show the new total.
    EXPECT_NE(window.summaryPanel()->sizeLabel()->text(), headerBefore);
    EXPECT_NE(leftRowSubtitle(), rowBefore);

    sheet()->closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return sheet() == nullptr; }, 5s));
    // The unticked file stays collected for a later round.
    EXPECT_EQ(collection().mainStorage().count(), 1U);
    EXPECT_TRUE(collection().isFilePathInCollection(tree.path("keep.bin")));
}

TEST_F(CollectionWindowTest, TheListsKeepTheirSelectionThroughARemoval) {
    window.resize(1200, 800);
    window.show();
    ContentsPanel& contents = *window.summaryPanel()->contents();
    FolderColumnView* column = contents.folderColumns().column(0);
    column->setCurrentIndex(rowNamed(column, "keep.bin"));
    ASSERT_EQ(contents.selectedItems(), ItemList{node("keep.bin")});
    collection().setSelected(true, node("gone.bin"));
    ASSERT_TRUE(reviewShows());
    sheet()->actionButton()->click();
    ASSERT_TRUE(sheetShows("Moved to Trash"));
    ASSERT_TRUE(waitFor([&] { return node("gone.bin") == nullptr; }, 5s));
    QCoreApplication::processEvents();
    EXPECT_EQ(contents.selectedItems(), ItemList{node("keep.bin")});
    EXPECT_EQ(contents.folderColumns().column(0), column) << "the column was kept, not rebuilt";
    sheet()->closeButton()->click();
}

TEST_F(CollectionWindowTest, CopyIntoAFolderWithTakenNamesWarnsOfTheNewName) {
    std::vector<CollectionAction> asked;
    controller().collectionViews().setFolderChooser(
        [&](CollectionAction action, std::function<void(std::optional<std::string>)> answer) {
            asked.push_back(action);
            answer(target.path(kMarkupFolder));
        });
    collection().setSelected(true, node("docs/a.txt"));
    collection().actionTypeMenuController().changeActionTypeTo(CollectionAction::copy);
    collection().updateState();
    EXPECT_EQ(panel().mainButton()->text(), "Review to Copy");
    ASSERT_TRUE(reviewShows("Review and confirm copying"));
    sheet()->actionButton()->click();
    ASSERT_TRUE(waitFor([&] { return sheet() && sheet()->closeButton()->isVisible(); }, 10s));

    EXPECT_EQ(asked, std::vector<CollectionAction>{CollectionAction::copy});
    EXPECT_TRUE(fs::exists(target.path(kMarkupFolder + "/a 3.txt")));
    EXPECT_TRUE(fs::exists(tree.path("docs/a.txt")));
    EXPECT_NE(sheet()->titleLabel()->text(), "Copying completed") << "a renamed copy is news";
    QTextDocument shown;
    shown.setHtml(sheet()->resultLabel()->text());
    EXPECT_EQ(shown.toPlainText(), "1 item copied to R&D <b>.");
    EXPECT_TRUE(sheet()->detailsButton()->isVisible());
    sheet()->detailsButton()->click();
    QTreeWidgetItem* row = sheet()->rowFor(tree.path("docs/a.txt"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(sheet()->detailsButton()->text(), "Hide details");
    EXPECT_TRUE(row->text(2).contains("\"a 3.txt\"")) << row->text(2).toStdString();
    EXPECT_FALSE(row->text(2).contains('\n')) << "a cell shows one line";
    sheet()->closeButton()->click();
}

TEST_F(CollectionWindowTest, CancelledFolderPanelPerformsNothingAndSaysNothingIsRunning) {
    controller().collectionViews().setFolderChooser(
        [&](CollectionAction, std::function<void(std::optional<std::string>)> answer) {
            // Nothing runs while the user chooses: the status line waits too.
            EXPECT_FALSE(panel().statusLabel()->isVisibleTo(&panel()));
            answer(std::nullopt);
        });
    collection().setSelected(true, node("keep.bin"));
    collection().performMainMenuAction(static_cast<int>(MainMenuAction::MoveToFolder));
    waitFor([] { return false; }, 200ms);
    EXPECT_TRUE(fs::exists(tree.path("keep.bin")));
    EXPECT_FALSE(collection().isProcessingFiles());
    EXPECT_EQ(collection().mainStorage().count(), 1U);
    EXPECT_FALSE(panel().statusLabel()->isVisibleTo(&panel())) << "nothing was moved";
}

TEST_F(CollectionWindowTest, DroppedPayloadAddsItsNodesAndRefusesStrangers) {
    auto payload = platform::mimeDataForPaths({tree.path("keep.bin"), tree.path("gone.bin")});
    EXPECT_TRUE(panel().acceptDroppedData(*payload));
    EXPECT_EQ(collection().mainStorage().count(), 2U);
    EXPECT_TRUE(node("keep.bin")->isTopCollected());

    auto stranger = platform::mimeDataForPaths({target.path(kMarkupFolder + "/a.txt")});
    EXPECT_FALSE(panel().acceptDroppedData(*stranger));
    QMimeData text;
    text.setText(QString::fromStdString(tree.path("docs") + "\n"));
    EXPECT_TRUE(panel().acceptDroppedData(text));
    EXPECT_EQ(collection().mainStorage().count(), 3U);
}

TEST_F(CollectionWindowTest, ListRowsDraggedOntoThePanelAreCollectedTogether) {
    ContentsPanel& contents = *views().contentsPanel;
    contents.showList(ActiveControllerType::biggest);
    auto& biggest = static_cast<FileListModel&>(*contents.biggestFilesView().model());
    QModelIndexList rows;
    for (int row = 0; row < biggest.rowCount(); ++row) {
        const std::string path =
            biggest.files().objectAtIndex(static_cast<std::size_t>(row))->getFullPath();
        if (path == tree.path(kLineBreakName) || path == tree.path(kInvalidName))
            rows << biggest.index(row, 0) << biggest.index(row, 1);
    }
    ASSERT_EQ(rows.size(), 4);
    const std::unique_ptr<QMimeData> payload(biggest.mimeData(rows));
    ASSERT_NE(payload, nullptr);

    // The drag from the list opens the drop area, as one from the diagram does.
    emit contents.biggestFilesView().rowDragStarted();
    EXPECT_TRUE(panel().dropArea()->isVisibleTo(&panel()));
    const QPoint centre = panel().rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&panel(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(panel().isHighlighted());
    QDropEvent drop(centre, Qt::CopyAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&panel(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_FALSE(panel().isHighlighted());
    emit contents.biggestFilesView().rowDragEnded({});

    EXPECT_EQ(collection().mainStorage().count(), 2U);
    EXPECT_TRUE(node(kLineBreakName)->isCollected());
    EXPECT_TRUE(node(kInvalidName)->isCollected());
    EXPECT_FALSE(panel().dropArea()->isVisibleTo(&panel()));
    EXPECT_EQ(panel().summaryLabel()->text(), "2 items");
}

TEST_F(CollectionWindowTest, FilesAFileManagerTookFromAListDragLeaveTheTree) {
    FolderColumnView& column = *views().contentsPanel->folderColumns().column(0);
    emit column.rowDragStarted();
    EXPECT_TRUE(panel().dropArea()->isVisibleTo(&panel()));
    collection().setSelected(true, node("gone.bin"));
    const std::int64_t before = root->gettotalsize();
    fs::remove(tree.path("gone.bin"));
    emit column.rowDragEnded({tree.path("gone.bin")});

    EXPECT_FALSE(panel().dropArea()->isVisibleTo(&panel()));
    EXPECT_TRUE(waitFor([&] { return node("gone.bin") == nullptr; }, 5s));
    EXPECT_LT(root->gettotalsize(), before);
    EXPECT_EQ(collection().mainStorage().count(), 0U) << "a vanished file leaves the list too";
}

TEST_F(CollectionWindowTest, ReviewRowsKeepNamesThatReadAlikeApart) {
    collection().setSelected(true, node(kInvalidName));
    collection().setSelected(true, node(kInvalidTwin));
    ASSERT_TRUE(reviewShows());
    QTreeWidgetItem* first = sheet()->rowFor(tree.path(kInvalidName));
    QTreeWidgetItem* twin = sheet()->rowFor(tree.path(kInvalidTwin));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(first, twin);
    first->setCheckState(0, Qt::Unchecked);
    sheet()->actionButton()->click();

    ASSERT_TRUE(sheetShows("Moved to Trash"));
    EXPECT_TRUE(fs::exists(tree.path(kInvalidName))) << "the unticked one stays";
    EXPECT_FALSE(fs::exists(tree.path(kInvalidTwin)));
    sheet()->closeButton()->click();
}

TEST_F(CollectionWindowTest, ReviewRowMenuCopiesThePathsBytesUnderTheLinuxWords) {
    collection().setSelected(true, node(kInvalidName));
    ASSERT_TRUE(reviewShows());
    QTreeWidget* rows = sheet()->rows();
    QTreeWidgetItem* row = sheet()->rowFor(tree.path(kInvalidName));
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(waitFor([&] { return rows->isVisible(); }, 2s));
    QStringList titles;
    // The menu runs its own loop: it is read and answered from inside it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        poll.stop();
        for (QAction* action : menu->actions()) {
            titles << action->text();
            if (action->text() == "Copy Path")
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
    });
    poll.start(20);
    QWidget* top = rows->window();
    const QRect at = rows->visualItemRect(row);
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, {},
                      rows->viewport()->mapTo(top, at.center()));
    EXPECT_EQ(titles, (QStringList{"Properties", "Preview", "Show in File Manager", "Copy Path"}));
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->data("text/uri-list").toStdString(),
              platform::fileUriForPath(tree.path(kInvalidName)).toStdString() + "\r\n");
    sheet()->closeButton()->click();
}

}  // namespace
}  // namespace korvex
