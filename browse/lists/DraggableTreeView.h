#pragma once

#include <QTreeView>

#include <string>
#include <vector>

namespace korvex {

// A list whose selected rows can be dragged out, together: onto the
// removal collection or into a file manager. It tells who listens when a
// drag runs, and which dragged paths were gone once it ended (a file
// manager that moved them, into its trash or elsewhere).
class DraggableTreeView : public QTreeView {
    Q_OBJECT
  public:
    explicit DraggableTreeView(QWidget* parent = nullptr);

  signals:
    void rowDragStarted();
    void rowDragEnded(const std::vector<std::string>& gonePaths);

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

}  // namespace korvex
