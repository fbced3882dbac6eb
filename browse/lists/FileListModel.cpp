#include "browse/lists/FileListModel.h"

#include "browse/lists/ItemTexts.h"

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

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= mFiles.count()) {
        return {};
    }
    const FileSystemItem& item = *mFiles.objectAtIndex(static_cast<std::size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == 1 ? sizeText(item.itemSize()) : qtText(item.name());
        case Qt::ToolTipRole: {
            QString lock = lockMessageHtml(item);
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
