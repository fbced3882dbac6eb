#pragma once

#include "browse/contents/FileSystemArray.h"
#include "browse/lists/CollectCheck.h"

#include <QAbstractTableModel>

namespace korvex {

// A two-column list (name with its folder, size) over a node array: the
// biggest files and the search results.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setFiles(FileSystemArray files);
    const FileSystemArray& files() const { return mFiles; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // Rows get check boxes once the collection listens.
    void setCollectToggle(CollectToggle toggle) { mCollectToggle = std::move(toggle); }

  private:
    const FileSystemItem* itemAt(const QModelIndex& index) const;

    FileSystemArray mFiles;
    CollectToggle mCollectToggle;
};

}  // namespace korvex
