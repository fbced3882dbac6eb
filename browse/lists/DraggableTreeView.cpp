#include "browse/lists/DraggableTreeView.h"

#include "platform/desktop/GoUpKey.h"
#include "platform/desktop/PathListMime.h"
#include "platform/fs/EntryExists.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
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

void DraggableTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        toggleCurrentCheck();
        return;
    }
    if (platform::isGoUpKey(*event)) {
        emit goUpRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void DraggableTreeView::toggleCurrentCheck() {
    const QModelIndex row = currentIndex().siblingAtColumn(0);
    if (!row.isValid() || !model()->flags(row).testFlag(Qt::ItemIsUserCheckable)) {
        return;
    }
    const bool ticked = row.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model()->setData(row, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    viewport()->update();
}

void DraggableTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu is the current row's, shown beside it.
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex row = fromKeyboard ? currentIndex() : indexAt(event->pos());
    if (!row.isValid()) {
        return;
    }
    const QPoint at =
        fromKeyboard ? viewport()->mapToGlobal(visualRect(row).center()) : event->globalPos();
    emit rowMenuRequested(row.siblingAtColumn(0), at);
}

}  // namespace korvex
