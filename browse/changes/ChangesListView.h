#pragma once

#include "browse/changes/ChangesListModel.h"

#include <QTreeView>

namespace korvex {

// The "Changes" list beside the folder lists while two scans are compared.
class ChangesListView : public QTreeView {
    Q_OBJECT
  public:
    explicit ChangesListView(QWidget* parent = nullptr);

    ChangesListModel& changes() { return *mModel; }

  signals:
    // A row of an item still in the newer tree became the current one.
    void nodeChosen(const ItemRef& node);

  private:
    ChangesListModel* mModel;
};

}  // namespace korvex
