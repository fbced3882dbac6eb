#pragma once

#include "browse/lists/FolderColumnView.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QHBoxLayout;

namespace korvex {

// The folder columns: one column per folder level from the shown root down
// to the current folder; choosing a folder row opens its column to the right.
class OutlineListConrtoller : public QWidget {
    Q_OBJECT
  public:
    explicit OutlineListConrtoller(QWidget* parent = nullptr);

    // Shows `folder` (the root when none) with a column for every level above
    // it. Columns that already show those levels are kept with their
    // selection and the columns it opened; they are only reloaded.
    void showFolder(const ItemRef& root, const ItemRef& folder);
    // Selects these nodes (those beside the first) in the column of their
    // folder, opening the columns down to it from a shown one.
    void selectNodes(const ItemList& nodes);
    void setScanning(bool scanning);
    // Rebuilds every column after the tree changed.
    void reloadColumns();
    // Every column, now and later, offers check boxes through `toggle`.
    void setCollectToggle(CollectToggle toggle);
    // The control Tab leaves for the first column; the others follow it.
    void setTabPredecessor(QWidget* predecessor) { mTabPredecessor = predecessor; }

    int columnCount() const { return static_cast<int>(mColumns.size()); }
    FolderColumnView* column(int index) const {
        return mColumns.at(static_cast<std::size_t>(index));
    }
    // The focused column's selection; with none focused, every column's,
    // from the last column to the first.
    ItemList selectedNodes() const;
    std::int64_t countOfUnscannedFiles() const;
    std::int64_t countOfUnscannedFolders() const;

  signals:
    void selectionChanged();
    void goUpRequested();
    // The user opened a folder row the scan could not read: the window may
    // ask about access to it.
    void wantsToShowGrantAccessDialogueFor(const ItemRef& folder);
    // A node row of any column asks for its menu (group rows have none).
    void rowMenuRequested(const ItemRef& node, const QPoint& globalPos);
    // From any column.
    void rowDragStarted();
    void rowDragEnded(const std::vector<std::string>& gonePaths);

  private:
    void truncateAfter(int index);
    FolderColumnView* appendColumn(const ItemRef& folder);
    void openSelectedFolderOf(FolderColumnView* column);
    void step(FolderColumnView* from, int by);

    QHBoxLayout* mLayout;
    std::vector<FolderColumnView*> mColumns;
    bool mScanning = false;
    CollectToggle mCollectToggle;
    QPointer<QWidget> mTabPredecessor;
};

}  // namespace korvex
