#include "browse/lists/ListProxyController.h"

#include "browse/lists/FileListModel.h"
#include "browse/lists/OutlineListConrtoller.h"

#include <QTreeView>

#include <algorithm>

namespace korvex {

ListProxyController::ListProxyController(OutlineListConrtoller* folders, QTreeView* biggest,
                                         QTreeView* search, QWidget* parent)
    : QStackedWidget(parent), mFolders(folders), mBiggest(biggest), mSearch(search) {
    addWidget(folders);
    addWidget(biggest);
    addWidget(search);
}

void ListProxyController::updateActiveControllerType(ActiveControllerType type) {
    if (type == ActiveControllerType::changes && mChanges == nullptr) {
        type = ActiveControllerType::folders;
    }
    mActiveType = type;
    setCurrentIndex(static_cast<int>(type));
}

void ListProxyController::setChangesList(QWidget* list) {
    if (mChanges != nullptr) {
        removeWidget(mChanges);
    }
    mChanges = list;
    if (list != nullptr) {
        addWidget(list);
    } else if (mActiveType == ActiveControllerType::changes) {
        updateActiveControllerType(ActiveControllerType::folders);
    }
}

ItemList ListProxyController::getActiveSelectedItems() const {
    switch (mActiveType) {
        case ActiveControllerType::folders:
            return mFolders->selectedNodes();
        case ActiveControllerType::biggest:
            return selectedFileListNodes(*mBiggest);
        case ActiveControllerType::search:
            return selectedFileListNodes(*mSearch);
        case ActiveControllerType::changes:
            break;  // its rows are changes, some of nodes no longer there
    }
    return {};
}

ItemList selectedFileListNodes(const QTreeView& view) {
    const auto* model = static_cast<const FileListModel*>(view.model());
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    ItemList nodes;
    for (const QModelIndex& index : rows) {
        nodes.push_back(model->files().objectAtIndex(static_cast<std::size_t>(index.row())));
    }
    return nodes;
}

}  // namespace korvex
