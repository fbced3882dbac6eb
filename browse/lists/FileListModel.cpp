#include "browse/lists/FileListModel.h"

#include "browse/lists/ItemTexts.h"
#include "browse/lists/NameAndFolderDelegate.h"
#include "browse/lists/RowDrag.h"
#include "scan/format/PathUtils.h"
#include "scan/tree/FolderSystemItem.h"

namespace korvex {

void FileListModel::setFiles(FileSystemArray files) {
    beginResetModel();
    mFiles = std::move(files);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(mFiles.count());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

const FileSystemItem* FileListModel::itemAt(const QModelIndex& index) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= mFiles.count()) {
        return nullptr;
    }
    return mFiles.objectAtIndex(static_cast<std::size_t>(index.row())).get();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    const FileSystemItem* item = itemAt(index);
    const Qt::ItemFlags base = QAbstractTableModel::flags(index) |
                               (item != nullptr ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    return item != nullptr && mCollectToggle && index.column() == 0 ? collectCheckFlags(*item, base)
                                                                    : base;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (itemAt(index) == nullptr) {
        return false;
    }
    return applyCollectCheck(
        mCollectToggle, mFiles.objectAtIndex(static_cast<std::size_t>(index.row())), value, role);
}

QStringList FileListModel::mimeTypes() const {
    return rowDragMimeTypes();
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    ItemList nodes;
    for (const QModelIndex& row : distinctRowsInOrder(indexes))
        if (itemAt(row) != nullptr)
            nodes.push_back(mFiles.objectAtIndex(static_cast<std::size_t>(row.row())));
    return rowDragMimeData(nodes);
}

Qt::DropActions FileListModel::supportedDragActions() const {
    return rowDragActions();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    const FileSystemItem* found = itemAt(index);
    if (found == nullptr) {
        return {};
    }
    const FileSystemItem& item = *found;
    switch (role) {
        case Qt::CheckStateRole:
            return mCollectToggle && index.column() == 0 ? collectCheckState(item) : QVariant();
        case Qt::DisplayRole:
            return index.column() == 1 ? sizeText(item.itemSize()) : qtText(item.name());
        case NameAndFolderDelegate::kFolderRole:
            return index.column() == 0 && item.getParent() != nullptr
                       ? qtText(
                             pathWithReplasingHomeFolderUsingTilda(item.getParent()->getFullPath()))
                       : QVariant();
        case Qt::ToolTipRole: {
            QString lock = detailsHtml(item);
            QString path = qtText(item.getFullPath()).toHtmlEscaped();
            return lock.isEmpty() ? path : path + QStringLiteral("<br><br>") + lock;
        }
        case Qt::TextAlignmentRole:
            return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
    }
}

}  // namespace korvex
