#pragma once

#include <QStyledItemDelegate>

namespace korvex {

// Rows of files from all over the tree: the name on the first line and,
// dimmed below it, the folder that holds the file (the model's `kFolderRole`).
// Both are shortened in the middle, where a name says the least.
class NameAndFolderDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int kFolderRole = Qt::UserRole + 40;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace korvex
