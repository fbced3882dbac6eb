#pragma once

#include <QTreeView>

#include <string>
#include <vector>

namespace korvex {

// A list of tree nodes as every side list shows them. Its selected rows can
// be dragged out, together: onto the removal collection or into a file
// manager. It tells who listens when a drag runs, and which dragged paths
// were gone once it ended (a file manager that moved them, into its trash or
// elsewhere). Space ticks or unticks the current row's check box; the
// go-up keys ask to show the folder above. A right click or the menu key on
// a row asks its owner for the row's menu.
class DraggableTreeView : public QTreeView {
    Q_OBJECT
  public:
    explicit DraggableTreeView(QWidget* parent = nullptr);

  signals:
    void rowDragStarted();
    void rowDragEnded(const std::vector<std::string>& gonePaths);
    void goUpRequested();
    void rowMenuRequested(const QModelIndex& row, const QPoint& globalPos);

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void toggleCurrentCheck();
};

}  // namespace korvex
