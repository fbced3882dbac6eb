#include "browse/changes/ChangesListView.h"

#include <QHeaderView>

namespace korvex {

ChangesListView::ChangesListView(QWidget* parent)
    : QTreeView(parent), mModel(new ChangesListModel(this)) {
    setObjectName(QStringLiteral("changesList"));
    setModel(mModel);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTextElideMode(Qt::ElideMiddle);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(ChangesListModel::ChangeColumn, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(ChangesListModel::ItemColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(ChangesListModel::KindColumn, QHeaderView::ResizeToContents);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (ItemRef node = mModel->nodeAt(current.row())) {
                    emit nodeChosen(node);
                }
            });
}

}  // namespace korvex
