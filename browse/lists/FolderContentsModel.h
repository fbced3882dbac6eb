#pragma once

#include "browse/contents/FolderContentStructureImpl.h"
#include "browse/lists/CollectCheck.h"

#include <QAbstractItemModel>

namespace korvex {

// The rows of one folder for a Qt view: asks the structure, never copies.
// Column 0 is the name, column 1 the size.
// After every reset the view applies each group's `isExpanded` itself, so the
// structure's expansion notices need no listener here.
class FolderContentsModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit FolderContentsModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

    void setFolder(ItemRef folder);
    FolderContentStructureImpl& structure() { return mStructure; }
    const FolderContentStructureImpl& structure() const { return mStructure; }
    // None for a group row or an invalid index.
    const OutlineListSubItem* subItem(const QModelIndex& index) const;
    OutlineListGroupItemImpl* group(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Node rows drag their paths; group rows stay behind.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // Node rows get check boxes once the collection listens.
    void setCollectToggle(CollectToggle toggle) { mCollectToggle = std::move(toggle); }

  private:
    static OutlineListItem* rowOf(const QModelIndex& index);
    QModelIndex indexOfGroup(const OutlineListGroupItemImpl* group) const;

    FolderContentStructureImpl mStructure;
    CollectToggle mCollectToggle;
};

}  // namespace korvex
