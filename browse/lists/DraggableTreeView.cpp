#include "browse/lists/DraggableTreeView.h"

#include "platform/desktop/PathListMime.h"
#include "platform/fs/EntryExists.h"

#include <QMimeData>

#include <memory>

namespace korvex {

DraggableTreeView::DraggableTreeView(QWidget* parent) : QTreeView(parent) {
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void DraggableTreeView::startDrag(Qt::DropActions supportedActions) {
    const std::unique_ptr<QMimeData> payload(model()->mimeData(selectedIndexes()));
    const auto paths =
        payload ? platform::decodePathList(payload->data(platform::kKorvexDataMime)) : std::nullopt;
    if (!paths || paths->empty())
        return;
    emit rowDragStarted();
    QTreeView::startDrag(supportedActions);
    std::vector<std::string> gone;
    for (const std::string& path : *paths) {
        if (!platform::somethingExistsAt(path))
            gone.push_back(path);
    }
    emit rowDragEnded(gone);
}

}  // namespace korvex
