#include "browse/lists/FolderContentsModel.h"

#include "browse/lists/ItemTexts.h"
#include "browse/lists/RowDrag.h"

#include <QApplication>
#include <QStyle>

namespace korvex {

void FolderContentsModel::setFolder(ItemRef folder) {
    beginResetModel();
    mStructure.setItem(std::move(folder));
    endResetModel();
}

OutlineListItem* FolderContentsModel::rowOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<OutlineListItem*>(index.internalPointer()) : nullptr;
}

const OutlineListSubItem* FolderContentsModel::subItem(const QModelIndex& index) const {
    OutlineListItem* row = rowOf(index);
    return row != nullptr && !row->isGroup() ? static_cast<OutlineListSubItem*>(row) : nullptr;
}

OutlineListGroupItemImpl* FolderContentsModel::group(const QModelIndex& index) const {
    OutlineListItem* row = rowOf(index);
    return row != nullptr && row->isGroup() ? static_cast<OutlineListGroupItemImpl*>(row) : nullptr;
}

QModelIndex FolderContentsModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column,
                       mStructure.childOfItem(static_cast<std::size_t>(row), rowOf(parent)));
}

QModelIndex FolderContentsModel::indexOfGroup(const OutlineListGroupItemImpl* group) const {
    const auto& rows = mStructure.childrens();
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (rows[i].get() == group) {
            return createIndex(static_cast<int>(i), 0, rows[i].get());
        }
    }
    return {};
}

QModelIndex FolderContentsModel::parent(const QModelIndex& child) const {
    const OutlineListSubItem* row = subItem(child);
    return row != nullptr && row->groupItem() != nullptr ? indexOfGroup(row->groupItem())
                                                         : QModelIndex();
}

int FolderContentsModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return static_cast<int>(mStructure.numberOfChildrenOfItem(rowOf(parent)));
}

int FolderContentsModel::columnCount(const QModelIndex&) const {
    return 2;
}

bool FolderContentsModel::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() || mStructure.isItemExpandable(rowOf(parent));
}

QVariant FolderContentsModel::data(const QModelIndex& index, int role) const {
    OutlineListItem* row = rowOf(index);
    if (row == nullptr) {
        return {};
    }
    const OutlineListSubItem* item = subItem(index);
    const OutlineListGroupItemImpl* groupRow = group(index);
    switch (role) {
        case Qt::CheckStateRole:
            return item != nullptr && mCollectToggle && index.column() == 0
                       ? collectCheckState(*item->systemItem())
                       : QVariant();
        case Qt::DisplayRole:
            if (index.column() == 1) {
                return sizeText(row->size());
            }
            return item != nullptr ? qtText(item->displayName()) : qtText(groupRow->title());
        case Qt::DecorationRole:
            if (index.column() != 0) {
                return {};
            }
            return QApplication::style()->standardIcon(
                item == nullptr ? QStyle::SP_DirOpenIcon
                                : (item->isFolder() ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
        case Qt::ToolTipRole: {
            if (item == nullptr) {
                return {};
            }
            // The whole name, which the row may have shortened, above the notes.
            const QString name = qtText(item->displayName()).toHtmlEscaped();
            const QString notes = detailsHtml(*item->systemItem());
            return QStringLiteral("<p style='white-space:pre'>%1</p>%2").arg(name, notes);
        }
        case Qt::TextAlignmentRole:
            return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
    }
}

Qt::ItemFlags FolderContentsModel::flags(const QModelIndex& index) const {
    const OutlineListSubItem* item = subItem(index);
    const Qt::ItemFlags base = QAbstractItemModel::flags(index) |
                               (item != nullptr ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    return item != nullptr && mCollectToggle && index.column() == 0
               ? collectCheckFlags(*item->systemItem(), base)
               : base;
}

bool FolderContentsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const OutlineListSubItem* item = subItem(index);
    return item != nullptr && applyCollectCheck(mCollectToggle, item->systemItem(), value, role);
}

QStringList FolderContentsModel::mimeTypes() const {
    return rowDragMimeTypes();
}

QMimeData* FolderContentsModel::mimeData(const QModelIndexList& indexes) const {
    ItemList nodes;
    for (const QModelIndex& row : distinctRowsInOrder(indexes))
        if (const OutlineListSubItem* item = subItem(row))
            nodes.push_back(item->systemItem());
    return rowDragMimeData(nodes);
}

Qt::DropActions FolderContentsModel::supportedDragActions() const {
    return rowDragActions();
}

}  // namespace korvex
