#include "diagram/volumes/VolumesListModel.h"

#include "diagram/volumes/TargetTexts.h"

namespace korvex {

VolumesListModel::VolumesListModel(VolumesTableController& controller, QObject* parent)
    : QAbstractListModel(parent), mController(controller) {
    mController.addObserver(this);
}

VolumesListModel::~VolumesListModel() {
    mController.removeObserver(this);
}

int VolumesListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mController.numberOfRows();
}

QVariant VolumesListModel::data(const QModelIndex& index, int role) const {
    const VolumeRow* row = mController.getItemByRow(index.row());
    if (row == nullptr) {
        return {};
    }
    if (row->isGroup()) {
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(row->group->groupName);
            case IsGroupRole:
                return true;
            default:
                return {};
        }
    }
    const TopLevelItem& entry = *row->entry;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(entryTitle(entry));
        case Qt::ToolTipRole:
        case PathRole:
            return QString::fromStdString(entry.getPath());
        case Qt::AccessibleDescriptionRole:
            return QString::fromStdString(entrySubtitle(entry));
        case IsGroupRole:
            return false;
        case ScanningStateRole:
            return static_cast<qlonglong>(entry.scanningState());
        default:
            return {};
    }
}

Qt::ItemFlags VolumesListModel::flags(const QModelIndex& index) const {
    if (!mController.isRowValid(index.row())) {
        return Qt::NoItemFlags;
    }
    if (mController.isGroupRow(index.row())) {
        return Qt::ItemIsEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void VolumesListModel::rowDidChange(int row) {
    QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

}  // namespace korvex
