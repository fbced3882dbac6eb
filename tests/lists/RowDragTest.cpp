#include "browse/lists/ContentsPanel.h"
#include "browse/lists/OutlineListConrtoller.h"
#include "platform/desktop/PathListMime.h"
#include "support/ScannedTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

#include <memory>

namespace korvex {
namespace {

// Names a drag has to carry byte for byte: a line break, which the text
// payload uses between paths, and bytes that are not UTF-8.
const std::string kLineBreakName = "two\nlines.bin";
const std::string kInvalidName = "caf\xE9-\xFF.bin";

class RowDrag : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file(kLineBreakName, 900000);
        tree.files().file(kInvalidName, 800000);
        tree.files().file("plain.bin", 700000);
        tree.files().file("tiny.txt", 10);
        tree.files().file("Folder/inside.bin", 600000);
        root = tree.scan();
        panel.resize(800, 600);
        panel.show();
        panel.setDisplayedFolder(root, nullptr);
    }

    static std::vector<std::string> draggedPaths(const QMimeData* payload) {
        if (!payload)
            return {};
        auto paths = platform::decodePathList(payload->data(platform::kKorvexDataMime));
        return paths ? *paths : std::vector<std::string>{};
    }

    test::TempSettings settings;
    test::ScannedTree tree;
    FolderRef root;
    ContentsPanel panel;
};

TEST_F(RowDrag, BiggestFilesRowsCarryTheirExactPathsOncePerRow) {
    panel.showList(ActiveControllerType::biggest);
    QAbstractItemModel* model = panel.biggestFilesView().model();
    ASSERT_GE(model->rowCount(), 3);
    // Biggest first: the line-break name, then the one that is not UTF-8.
    const QModelIndexList rows = {model->index(1, 1), model->index(0, 0), model->index(1, 0),
                                  model->index(0, 1)};
    for (const QModelIndex& index : rows)
        EXPECT_TRUE(model->flags(index) & Qt::ItemIsDragEnabled);
    const std::unique_ptr<QMimeData> payload(model->mimeData(rows));
    ASSERT_NE(payload, nullptr);
    const std::vector<std::string> expected = {tree.files().path(kLineBreakName),
                                               tree.files().path(kInvalidName)};
    EXPECT_EQ(draggedPaths(payload.get()), expected) << "each row once, top to bottom";
    EXPECT_TRUE(model->mimeTypes().contains(platform::kKorvexDataMime));

    // A file manager gets URIs that keep the raw bytes.
    const QList<QUrl> urls = payload->urls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_TRUE(urls[0].toEncoded().endsWith("two%0Alines.bin"));
    EXPECT_TRUE(urls[1].toEncoded().endsWith("caf%E9-%FF.bin"));
}

TEST_F(RowDrag, FolderRowsDragTheirNodesAndLeaveGroupsBehind) {
    FolderColumnView* column = panel.folderColumns().column(0);
    QAbstractItemModel* model = column->model();
    QModelIndex group;
    QModelIndexList chosen;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const QString name = index.data().toString();
        if (name == "Small items")
            group = index;
        else if (name == "Folder" || name == "plain.bin")
            chosen << index;
    }
    ASSERT_TRUE(group.isValid());
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_FALSE(model->flags(group) & Qt::ItemIsDragEnabled);
    column->setExpanded(group, true);
    const QModelIndex small = model->index(0, 0, group);
    ASSERT_EQ(small.data().toString(), "tiny.txt");
    EXPECT_TRUE(model->flags(small) & Qt::ItemIsDragEnabled);

    const std::unique_ptr<QMimeData> payload(model->mimeData({small, group, chosen[1], chosen[0]}));
    EXPECT_EQ(draggedPaths(payload.get()),
              (std::vector<std::string>{tree.files().path("plain.bin"), tree.files().path("Folder"),
                                        tree.files().path("tiny.txt")}));
    EXPECT_EQ(model->mimeData({group}), nullptr) << "a group alone drags nothing";
}

TEST_F(RowDrag, EveryListOffersItsRowsForDraggingOut) {
    for (QTreeView* view : {static_cast<QTreeView*>(panel.folderColumns().column(0)),
                            static_cast<QTreeView*>(&panel.biggestFilesView()),
                            static_cast<QTreeView*>(&panel.searchResultsView())}) {
        EXPECT_TRUE(view->dragEnabled());
        EXPECT_EQ(view->dragDropMode(), QAbstractItemView::DragOnly);
        EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection)
            << "several rows drag together";
        EXPECT_TRUE(view->model()->supportedDragActions() & Qt::MoveAction)
            << "a file manager may move the files into its trash";
    }
}

}  // namespace
}  // namespace korvex
