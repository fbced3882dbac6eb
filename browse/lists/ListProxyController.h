#pragma once

#include "scan/tree/FileSystemItem.h"

#include <QStackedWidget>

class QTreeView;

namespace korvex {

class OutlineListConrtoller;

// Which list the area beside the diagram shows.
enum class ActiveControllerType { folders = 0, biggest = 1, search = 2, changes = 3 };

// Switches between the folder columns, the biggest files and the search results.
class ListProxyController : public QStackedWidget {
    Q_OBJECT
  public:
    ListProxyController(OutlineListConrtoller* folders, QTreeView* biggest, QTreeView* search,
                        QWidget* parent = nullptr);

    ActiveControllerType activeType() const { return mActiveType; }
    void updateActiveControllerType(ActiveControllerType type);
    // The list of changes between two scans, while there is one to show
    // (null takes it away); the proxy keeps no ownership.
    void setChangesList(QWidget* list);
    // The selected nodes of the list shown now.
    ItemList getActiveSelectedItems() const;

  private:
    OutlineListConrtoller* mFolders;
    QTreeView* mBiggest;
    QTreeView* mSearch;
    QWidget* mChanges = nullptr;
    ActiveControllerType mActiveType = ActiveControllerType::folders;
};

// The selected nodes of a two-column list over a FileListModel, in row order.
ItemList selectedFileListNodes(const QTreeView& view);

}  // namespace korvex
