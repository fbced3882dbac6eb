#include "browse/lists/FolderColumnView.h"

#include "browse/contents/VolumeContentContainerLocalizable.h"
#include "browse/lists/ItemTexts.h"
#include "scan/format/ItemNotes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <functional>

namespace korvex {

FolderColumnView::FolderColumnView(QWidget* parent) : DraggableTreeView(parent), mModel(this) {
    setModel(&mModel);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The start and the end of a name (its kind) say the most.
    setTextElideMode(Qt::ElideMiddle);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto remember = [this](bool expanded) {
        return [this, expanded](const QModelIndex& index) {
            if (OutlineListGroupItemImpl* group = mModel.group(index)) {
                group->setExpanded(expanded);
            }
        };
    };
    connect(this, &QTreeView::expanded, this, remember(true));
    connect(this, &QTreeView::collapsed, this, remember(false));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FolderColumnView::nodesSelected);
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        const OutlineListSubItem* row = mModel.subItem(index.siblingAtColumn(0));
        if (row != nullptr && row->systemItem()->isDirectory() &&
            row->systemItem()->accessDenied()) {
            emit deniedFolderActivated(row->systemItem());
        }
    });
}

void FolderColumnView::setFolder(ItemRef folder) {
    mModel.setFolder(std::move(folder));
    showGroupExpansions();
}

void FolderColumnView::reload() {
    const ItemList kept = selectedNodes();
    ItemList current;
    if (const OutlineListSubItem* row = mModel.subItem(currentIndex().siblingAtColumn(0))) {
        current.push_back(row->systemItem());
    }
    const int scroll = verticalScrollBar()->value();
    QModelIndexList restored;
    {
        // The columns after this one follow its selection: a rebuild that
        // brings the same rows back must not close them.
        const QSignalBlocker quiet(selectionModel());
        setFolder(folder());
        restored = rowsOf(kept);
        for (const QModelIndex& row : restored) {
            selectionModel()->select(row, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        if (const QModelIndexList rows = rowsOf(current); !rows.isEmpty()) {
            selectionModel()->setCurrentIndex(rows.front(), QItemSelectionModel::NoUpdate);
        }
    }
    verticalScrollBar()->setValue(scroll);
    viewport()->update();
    if (restored.size() != static_cast<int>(kept.size())) {
        emit nodesSelected();
    }
}

bool FolderColumnView::selectNodes(const ItemList& nodes) {
    const QModelIndexList rows = rowsOf(nodes);
    if (rows.isEmpty()) {
        return false;
    }
    QItemSelection selection;
    for (const QModelIndex& row : rows) {
        if (row.parent().isValid()) {
            expand(row.parent());
        }
        selection.select(row, row);
    }
    selectionModel()->setCurrentIndex(rows.front(), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(rows.front());
    return true;
}

QModelIndexList FolderColumnView::rowsOf(const ItemList& nodes) const {
    QModelIndexList rows;
    if (nodes.empty()) {
        return rows;
    }
    std::function<void(const QModelIndex&)> visit = [&](const QModelIndex& parent) {
        for (int row = 0; row < mModel.rowCount(parent); ++row) {
            const QModelIndex index = mModel.index(row, 0, parent);
            if (const OutlineListSubItem* item = mModel.subItem(index)) {
                if (std::find(nodes.begin(), nodes.end(), item->systemItem()) != nodes.end()) {
                    rows.push_back(index);
                }
            }
            if (mModel.hasChildren(index)) {
                visit(index);
            }
        }
    };
    visit({});
    return rows;
}

void FolderColumnView::showGroupExpansions() {
    for (int row = 0; row < mModel.rowCount(); ++row) {
        QModelIndex index = mModel.index(row, 0);
        if (OutlineListGroupItemImpl* group = mModel.group(index)) {
            setExpanded(index, group->isExpanded());
        }
    }
}

void FolderColumnView::setScanning(bool scanning) {
    mScanning = scanning;
    viewport()->update();
}

QString FolderColumnView::placeholderText() const {
    namespace texts = VolumeContentContainerLocalizable;
    // A folder the scan could not read is not empty: say so, and why.
    if (folder() != nullptr) {
        if (std::optional<std::string> denied = accessDeniedText(*folder())) {
            return qtText(*denied);
        }
    }
    return qtText(platform::localized(texts::kTable,
                                      mScanning ? texts::kScanningFolder : texts::kEmptyFolder));
}

ItemList FolderColumnView::selectedNodes() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [this](const QModelIndex& a, const QModelIndex& b) {
        return visualRect(a).top() < visualRect(b).top();
    });
    ItemList nodes;
    for (const QModelIndex& index : rows) {
        if (const OutlineListSubItem* item = mModel.subItem(index)) {
            nodes.push_back(item->systemItem());
        }
    }
    return nodes;
}

void FolderColumnView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex().siblingAtColumn(0);
    OutlineListGroupItemImpl* group = mModel.group(current);
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool right = event->key() == Qt::Key_Right;
            if (group == nullptr) {
                emit columnStepRequested(right ? 1 : -1);
            } else if (group->isExpanded() != right) {
                setExpanded(current, right);
            }
            return;
        }
        default:
            DraggableTreeView::keyPressEvent(event);
    }
}

void FolderColumnView::paintEvent(QPaintEvent* event) {
    DraggableTreeView::paintEvent(event);
    if (mModel.rowCount() == 0) {
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect(), Qt::AlignCenter, placeholderText());
    }
}

}  // namespace korvex
