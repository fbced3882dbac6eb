#pragma once

#include "diagram/volumes/VolumesTableController.h"

#include <QAbstractListModel>

namespace korvex {

// A list model that reads the controller's rows in place; headers are
// enabled but never selectable.
class VolumesListModel : public QAbstractListModel, public VolumesTableObserver {
    Q_OBJECT
  public:
    enum Role { IsGroupRole = Qt::UserRole + 1, PathRole, ScanningStateRole };

    explicit VolumesListModel(VolumesTableController& controller, QObject* parent = nullptr);
    ~VolumesListModel() override;

    VolumesTableController& controller() const { return mController; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void rowsWillChange() override { beginResetModel(); }
    void rowsDidChange() override { endResetModel(); }
    void rowDidChange(int row) override;

  private:
    VolumesTableController& mController;
};

}  // namespace korvex
