#include "browse/changes/ChangesListModel.h"

#include "browse/lists/ItemTexts.h"
#include "scan/format/SizeFormatter.h"

namespace korvex {

QString changeKindText(const ScanComparison::Change& change) {
    using Kind = ScanComparison::ChangeKind;
    switch (change.kind) {
        case Kind::Added:
            return change.folder ? QObject::tr("New folder") : QObject::tr("New file");
        case Kind::Removed:
            return change.folder ? QObject::tr("Vanished folder") : QObject::tr("Vanished file");
        case Kind::Grown:
            return change.ownBlocks ? QObject::tr("Folder itself grew") : QObject::tr("Grew");
        case Kind::Shrunk:
            return change.ownBlocks ? QObject::tr("Folder itself shrank") : QObject::tr("Shrank");
    }
    return {};
}

void ChangesListModel::setComparison(const ScanComparison* comparison, const FolderRef& newerRoot) {
    beginResetModel();
    mChanges.clear();
    mNewerRoot = comparison != nullptr ? newerRoot : nullptr;
    if (comparison != nullptr) {
        const auto& all = comparison->changes();
        mChanges.assign(all.begin(),
                        all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), kMaxRows)));
    }
    endResetModel();
}

const ScanComparison::Change& ChangesListModel::changeAt(int row) const {
    return mChanges.at(static_cast<std::size_t>(row));
}

ItemRef ChangesListModel::nodeAt(int row) const {
    if (mNewerRoot == nullptr || row < 0 || row >= rowCount() ||
        changeAt(row).kind == ScanComparison::ChangeKind::Removed) {
        return nullptr;
    }
    return mNewerRoot->getItemByFilePath(changeAt(row).path);
}

int ChangesListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(mChanges.size());
}

int ChangesListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant ChangesListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const ScanComparison::Change& change = changeAt(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == ChangeColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole) {
        return QObject::tr("Was %1, now %2")
            .arg(qtText(sizeString(change.oldBytes)), qtText(sizeString(change.newBytes)));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case ChangeColumn:
            return qtText(signedSizeString(change.delta()));
        case ItemColumn: {
            // Below the compared folder, which every path starts with.
            const std::string& root =
                mNewerRoot != nullptr ? mNewerRoot->fullPath() : std::string();
            std::string_view path = change.path;
            if (!root.empty() && path.starts_with(root)) {
                path.remove_prefix(root == "/" ? 0 : root.size());
            }
            return qtText(path);
        }
        case KindColumn:
            return changeKindText(change);
        default:
            return {};
    }
}

QVariant ChangesListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case ChangeColumn:
            return QObject::tr("Change");
        case ItemColumn:
            return QObject::tr("Item");
        case KindColumn:
            return QObject::tr("What");
        default:
            return {};
    }
}

}  // namespace korvex
