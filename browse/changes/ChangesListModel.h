#pragma once

#include "scan/saved/ScanComparison.h"

#include <QAbstractTableModel>

#include <vector>

namespace korvex {

// The biggest changes between two scans as a list: change in bytes, the item
// (its path below the compared folder) and what happened to it. New and
// vanished folders are rows of their own, counted whole.
class ChangesListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // More rows say nothing a user reads; the biggest come first.
    static constexpr std::size_t kMaxRows = 500;
    enum Column { ChangeColumn = 0, ItemColumn = 1, KindColumn = 2 };

    using QAbstractTableModel::QAbstractTableModel;

    // The comparison's newer tree must outlive the rows; null empties the list.
    void setComparison(const ScanComparison* comparison, const FolderRef& newerRoot);
    // The node of the row in the newer tree; null for what vanished.
    ItemRef nodeAt(int row) const;
    const ScanComparison::Change& changeAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<ScanComparison::Change> mChanges;
    FolderRef mNewerRoot;
};

// What happened to the item, as the list says it.
QString changeKindText(const ScanComparison::Change& change);

}  // namespace korvex
