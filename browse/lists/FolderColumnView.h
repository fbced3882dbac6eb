#pragma once

#include "browse/lists/FolderContentsModel.h"

#include "browse/lists/DraggableTreeView.h"

namespace korvex {

// One folder column: its rows, the placeholder of an empty folder, and the
// keys of a column (Left and Right fold groups or step between columns).
class FolderColumnView : public DraggableTreeView {
    Q_OBJECT
  public:
    explicit FolderColumnView(QWidget* parent = nullptr);

    // Rebuilds the rows; groups show the expansion their structure keeps.
    void setFolder(ItemRef folder);
    // Rebuilds the rows of the same folder after its tree changed, keeping
    // the selected rows that are still there, the current row and the scroll.
    void reload();
    const ItemRef& folder() const { return mModel.structure().item(); }
    FolderContentsModel& contentsModel() { return mModel; }
    void setScanning(bool scanning);
    QString placeholderText() const;
    // The nodes of the selected rows in row order, groups left out.
    ItemList selectedNodes() const;
    // Selects the rows of these nodes (in groups too), the first current and
    // in view; answers whether any was found.
    bool selectNodes(const ItemList& nodes);

  signals:
    // -1 to the column before, +1 to the one after.
    void columnStepRequested(int step);
    // A folder row the scan could not read was opened (double click or Return).
    void deniedFolderActivated(const ItemRef& folder);
    void nodesSelected();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void showGroupExpansions();
    // The rows, groups' members included, whose nodes are among `nodes`.
    QModelIndexList rowsOf(const ItemList& nodes) const;

    FolderContentsModel mModel;
    bool mScanning = false;
};

}  // namespace korvex
