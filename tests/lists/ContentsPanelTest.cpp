#include "browse/lists/ContentsPanel.h"
#include "browse/lists/OutlineListConrtoller.h"
#include "support/ItemViewInput.h"
#include "support/QtTestApplication.h"
#include "support/ScannedTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include <chrono>

namespace korvex {
namespace {

using namespace std::chrono_literals;
using test::rowNamed;

const auto* const kApp = test::registerQtTestApplication<QApplication>("lists_tests");

class RecordingWindow : public ContentsPanelDelegate {
  public:
    void contentsPanelSelectionChanged(const ItemList& items) override { selected = items; }
    void contentsPanelGoUp() override { ++goUps; }
    void contentsPanelWantsGrantAccessFor(const ItemRef& folder) override {
        accessAsked.push_back(folder);
    }
    // The window's side of these is tested with the window.
    void contentsPanelRowMenu(const ItemRef&, const QPoint&) override {}
    void contentsPanelOpenPreferences() override {}
    ItemList selected;
    ItemList accessAsked;
    int goUps = 0;
};

void press(QWidget* target, int key, const QString& text = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &down);
}

class Panel : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("Big/inner.bin", 900000);
        tree.files().file("Big/Deeper/leaf.bin", 700000);
        tree.files().file("report.pdf", 800000);
        tree.files().file("note.txt", 100);
        tree.files().file("empty/.keep", 0);
        tree.files().folder("void");
        root = tree.scan();
        panel.setDelegate(&window);
        panel.resize(800, 600);
        panel.show();
        panel.setDisplayedFolder(root, nullptr);
    }
    FolderColumnView* column(int index) { return panel.folderColumns().column(index); }
    test::TempSettings settings;
    test::ScannedTree tree;
    FolderRef root;
    RecordingWindow window;
    ContentsPanel panel;
};

TEST_F(Panel, PlaceholdersForAnEmptyFolderWhileScanningAndWithoutSelection) {
    EXPECT_EQ(panel.detailsText(), "Select an item to review");
    panel.setDisplayedFolder(root, tree.node("void"));
    ASSERT_EQ(panel.folderColumns().columnCount(), 2);
    EXPECT_EQ(column(1)->model()->rowCount(), 0);
    EXPECT_EQ(column(1)->placeholderText(), "Empty folder");
    panel.setScanning(true);
    EXPECT_EQ(column(1)->placeholderText(), "Scanning...");
    panel.setScanning(false);
    EXPECT_EQ(column(1)->placeholderText(), "Empty folder");
}

TEST_F(Panel, ChoosingAFolderRowOpensItsColumnAndReportsTheSelection) {
    ASSERT_EQ(panel.folderColumns().columnCount(), 1);
    QModelIndex big = rowNamed(column(0), "Big");
    ASSERT_TRUE(big.isValid());
    column(0)->setCurrentIndex(big);
    ASSERT_EQ(panel.folderColumns().columnCount(), 2);
    EXPECT_EQ(column(1)->folder(), tree.node("Big"));
    ASSERT_EQ(window.selected.size(), 1u);
    EXPECT_EQ(window.selected.front(), tree.node("Big"));
    EXPECT_TRUE(panel.detailsText().contains("Big"));

    column(0)->setCurrentIndex(rowNamed(column(0), "report.pdf"));
    EXPECT_EQ(panel.folderColumns().columnCount(), 1) << "a file closes the deeper columns";
}

TEST_F(Panel, KeysFoldGroupsTickRowsAndGoUp) {
    std::vector<std::pair<ItemRef, bool>> toggles;
    panel.setCollectToggle(
        [&](const ItemRef& node, bool collect) { toggles.emplace_back(node, collect); });
    QModelIndex group = rowNamed(column(0), "Small items");
    ASSERT_TRUE(group.isValid());
    column(0)->setCurrentIndex(group);
    column(0)->setFocus();
    press(column(0), Qt::Key_Right);
    EXPECT_TRUE(column(0)->isExpanded(group));
    panel.reload();
    EXPECT_TRUE(column(0)->isExpanded(rowNamed(column(0), "Small items")))
        << "expansion survives a rebuild of the same folder";
    group = rowNamed(column(0), "Small items");
    column(0)->setCurrentIndex(group);
    press(column(0), Qt::Key_Left);
    EXPECT_FALSE(column(0)->isExpanded(group));

    // Space ticks the current row only, whatever else is selected.
    column(0)->selectAll();
    column(0)->selectionModel()->setCurrentIndex(rowNamed(column(0), "report.pdf"),
                                                 QItemSelectionModel::NoUpdate);
    press(column(0), Qt::Key_Space, " ");
    ASSERT_EQ(toggles.size(), 1u);
    EXPECT_EQ(toggles.front(), std::make_pair(tree.node("report.pdf"), true));
    column(0)->setCurrentIndex(rowNamed(column(0), "Small items"));
    press(column(0), Qt::Key_Space, " ");
    EXPECT_EQ(toggles.size(), 1u) << "a group has no check box";

    // Backspace and Alt+Up in any list ask for the folder above; plain Up moves.
    press(column(0), Qt::Key_Backspace);
    press(column(0), Qt::Key_Up, {}, Qt::AltModifier);
    press(column(0), Qt::Key_Up);
    press(&panel.biggestFilesView(), Qt::Key_Backspace);
    EXPECT_EQ(window.goUps, 3);
}

TEST_F(Panel, OpeningAnUnreadFolderRowAsksAboutAccessToIt) {
    ItemRef denied = tree.node("void");
    denied->setAccessDenied(true);
    panel.reload();
    column(0)->expand(rowNamed(column(0), "Small items"));
    ASSERT_TRUE(rowNamed(column(0), "void").isValid());
    QApplication::processEvents();  // lays the expanded rows out
    auto doubleClickIn = [&](const QModelIndex& row) {
        test::doubleClickAt(column(0)->viewport(), column(0)->visualRect(row).center());
    };
    int opened = 0;
    QObject::connect(column(0), &QAbstractItemView::activated, [&opened] { ++opened; });
    doubleClickIn(rowNamed(column(0), "empty"));
    doubleClickIn(rowNamed(column(0), "note.txt"));
    ASSERT_EQ(opened, 2) << "the double clicks reached the rows";
    EXPECT_TRUE(window.accessAsked.empty()) << "readable folders and files ask nothing";
    doubleClickIn(rowNamed(column(0), "void"));
    ASSERT_EQ(window.accessAsked.size(), 1u);
    EXPECT_EQ(window.accessAsked.front(), denied);
}

TEST_F(Panel, RowCheckBoxesCollectNodesAndShowWhatIsInsideACollectedFolder) {
    std::vector<std::pair<ItemRef, bool>> toggles;
    panel.setCollectToggle([&](const ItemRef& node, bool collect) {
        toggles.emplace_back(node, collect);
        node->setCollected(collect);
    });
    const QModelIndex big = rowNamed(column(0), "Big");
    ASSERT_TRUE(big.isValid());
    EXPECT_TRUE(big.flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(big.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    ASSERT_TRUE(column(0)->model()->setData(big, Qt::Checked, Qt::CheckStateRole));
    ASSERT_EQ(toggles.size(), 1u);
    EXPECT_EQ(toggles[0].first, tree.node("Big"));
    EXPECT_TRUE(toggles[0].second);
    EXPECT_EQ(big.data(Qt::CheckStateRole).toInt(), Qt::Checked);

    // A file inside the collected folder is shown ticked but cannot be
    // ticked on its own; the folder itself can be taken out again.
    panel.showList(ActiveControllerType::biggest);
    QAbstractItemModel* model = panel.biggestFilesView().model();
    const QModelIndex inner = model->index(0, 0);
    ASSERT_EQ(inner.data().toString(), "inner.bin");
    EXPECT_EQ(inner.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(inner.flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model->index(0, 1).data(Qt::CheckStateRole).isValid()) << "only the name column";
    EXPECT_TRUE(big.flags() & Qt::ItemIsUserCheckable);
    column(0)->model()->setData(big, Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(inner.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(Panel, BiggestFilesListShowsTheShownFolderBiggestFirst) {
    panel.showList(ActiveControllerType::biggest);
    QAbstractItemModel* model = panel.biggestFilesView().model();
    ASSERT_EQ(model->rowCount(), 5) << "files of every level, hidden ones too";
    EXPECT_EQ(model->index(0, 0).data().toString(), "inner.bin");
    EXPECT_EQ(model->index(4, 0).data().toString(), ".keep");
    panel.biggestFilesView().setCurrentIndex(model->index(1, 0));
    ASSERT_EQ(panel.selectedItems().size(), 1u);
    EXPECT_EQ(panel.selectedItems().front(), tree.node("report.pdf"));
}

TEST_F(Panel, TypingSearchesAfterThePauseAndEscapeReturnsToTheFolders) {
    QLineEdit& field = panel.searchField();
    field.setFocus();
    for (const char* letter : {"l", "e", "a"}) {
        press(&field, Qt::Key_A, letter);
    }
    EXPECT_EQ(field.text(), "lea");
    QAbstractItemModel* results = panel.searchResultsView().model();
    ASSERT_TRUE(
        platform::MainQueue::shared().runUntil([&] { return results->rowCount() > 0; }, 5s));
    EXPECT_EQ(panel.listProxy().activeType(), ActiveControllerType::search);
    ASSERT_EQ(results->rowCount(), 1);
    EXPECT_EQ(results->index(0, 0).data().toString(), "leaf.bin");

    press(&field, Qt::Key_Escape);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(results->rowCount(), 0);
    EXPECT_NE(panel.focusWidget(), &field) << "the focus moved on";
    platform::MainQueue::shared().runUntil([] { return false; }, 50ms);
    EXPECT_EQ(panel.listProxy().activeType(), ActiveControllerType::folders);
}

TEST_F(Panel, LockMessagesShowTheirEmphasisInTheDetails) {
    tree.node("report.pdf")->setIsCloudStored(true);
    panel.reload();
    column(0)->setCurrentIndex(rowNamed(column(0), "report.pdf"));
    EXPECT_TRUE(panel.detailsText().contains("takes up no space"));
    QModelIndex hidden = rowNamed(column(0), "Hidden items");
    EXPECT_FALSE(hidden.isValid()) << "only the empty folder holds a hidden file";
    panel.setDisplayedFolder(root, tree.node("empty"));
    QModelIndex keep = column(1)->model()->index(0, 0, rowNamed(column(1), "Hidden items"));
    ASSERT_TRUE(keep.isValid());
    column(1)->setCurrentIndex(keep);
    EXPECT_TRUE(
        panel.detailsText().contains("<b>&quot;Allow removing hidden files and folders&quot;</b>"));
}

}  // namespace
}  // namespace korvex
