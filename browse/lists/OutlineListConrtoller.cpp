#include "browse/lists/OutlineListConrtoller.h"

#include "scan/tree/FolderSystemItem.h"

#include <QHBoxLayout>

#include <algorithm>

namespace korvex {

OutlineListConrtoller::OutlineListConrtoller(QWidget* parent)
    : QWidget(parent), mLayout(new QHBoxLayout(this)) {
    mLayout->setContentsMargins(0, 0, 0, 0);
    mLayout->setSpacing(1);
}

void OutlineListConrtoller::showFolder(const ItemRef& root, const ItemRef& folder) {
    std::vector<ItemRef> chain;
    for (FileSystemItem* level = folder ? folder.get() : root.get(); level != nullptr;
         level = level == root.get() ? nullptr : level->getParent()) {
        chain.emplace_back(level);
    }
    std::reverse(chain.begin(), chain.end());
    const bool shownAlready = !chain.empty() && chain.size() <= mColumns.size() &&
                              std::equal(chain.begin(), chain.end(), mColumns.begin(),
                                         [](const ItemRef& level, FolderColumnView* column) {
                                             return level == column->folder();
                                         });
    if (shownAlready) {
        // A column past the shown folder stays only while its row there is
        // the one selected.
        const std::size_t last = chain.size() - 1;
        if (mColumns.size() > chain.size()) {
            const ItemList selected = mColumns[last]->selectedNodes();
            if (selected.size() != 1 || selected.front() != mColumns[last + 1]->folder()) {
                truncateAfter(static_cast<int>(last));
            }
        }
        reloadColumns();
        return;
    }
    truncateAfter(-1);
    for (const ItemRef& level : chain) {
        appendColumn(level);
    }
}

void OutlineListConrtoller::selectNodes(const ItemList& nodes) {
    if (nodes.empty() || nodes.front()->getParent() == nullptr) {
        return;
    }
    FileSystemItem* folder = nodes.front()->getParent();
    ItemList siblings;
    for (const ItemRef& node : nodes) {
        if (node->getParent() == folder) {
            siblings.push_back(node);
        }
    }
    // The folders from a shown column's down to the nodes' own.
    ItemList descent;
    for (FileSystemItem* level = folder; level != nullptr; level = level->getParent()) {
        auto shown = std::find_if(mColumns.begin(), mColumns.end(), [level](FolderColumnView* c) {
            return c->folder().get() == level;
        });
        if (shown == mColumns.end()) {
            descent.emplace_back(level);
            continue;
        }
        auto index = static_cast<std::size_t>(shown - mColumns.begin());
        // Selecting a folder row opens its column next to it.
        for (auto next = descent.rbegin(); next != descent.rend(); ++next, ++index) {
            if (!mColumns[index]->selectNodes({*next}) || index + 1 >= mColumns.size()) {
                return;
            }
        }
        mColumns[index]->selectNodes(siblings);
        return;
    }
}

void OutlineListConrtoller::setScanning(bool scanning) {
    mScanning = scanning;
    for (FolderColumnView* column : mColumns) {
        column->setScanning(scanning);
    }
}

void OutlineListConrtoller::setCollectToggle(CollectToggle toggle) {
    mCollectToggle = std::move(toggle);
    for (FolderColumnView* column : mColumns) {
        column->contentsModel().setCollectToggle(mCollectToggle);
    }
}

void OutlineListConrtoller::reloadColumns() {
    for (FolderColumnView* column : mColumns) {
        column->reload();
    }
}

ItemList OutlineListConrtoller::selectedNodes() const {
    for (FolderColumnView* column : mColumns) {
        if (column->hasFocus()) {
            return column->selectedNodes();
        }
    }
    ItemList nodes;
    for (auto it = mColumns.rbegin(); it != mColumns.rend(); ++it) {
        ItemList own = (*it)->selectedNodes();
        nodes.insert(nodes.end(), own.begin(), own.end());
    }
    return nodes;
}

std::int64_t OutlineListConrtoller::countOfUnscannedFiles() const {
    return mColumns.empty() ? 0
                            : mColumns.back()->contentsModel().structure().countOfUnscannedFiles();
}

std::int64_t OutlineListConrtoller::countOfUnscannedFolders() const {
    return mColumns.empty()
               ? 0
               : mColumns.back()->contentsModel().structure().countOfUnscannedFolders();
}

void OutlineListConrtoller::truncateAfter(int index) {
    while (static_cast<int>(mColumns.size()) > index + 1) {
        FolderColumnView* column = mColumns.back();
        mColumns.pop_back();
        mLayout->removeWidget(column);
        column->deleteLater();
        column->hide();
    }
}

FolderColumnView* OutlineListConrtoller::appendColumn(const ItemRef& folder) {
    auto* column = new FolderColumnView(this);
    column->setScanning(mScanning);
    column->contentsModel().setCollectToggle(mCollectToggle);
    column->setFolder(folder);
    // A new widget would come last in the window's Tab order.
    if (QWidget* before = mColumns.empty() ? mTabPredecessor.data() : mColumns.back();
        before != nullptr) {
        QWidget::setTabOrder(before, column);
    }
    mLayout->addWidget(column, 1);
    mColumns.push_back(column);
    connect(column, &FolderColumnView::nodesSelected, this, [this, column] {
        openSelectedFolderOf(column);
        emit selectionChanged();
    });
    connect(column, &DraggableTreeView::goUpRequested, this, &OutlineListConrtoller::goUpRequested);
    connect(column, &FolderColumnView::deniedFolderActivated, this,
            &OutlineListConrtoller::wantsToShowGrantAccessDialogueFor);
    connect(column, &DraggableTreeView::rowMenuRequested, this,
            [this, column](const QModelIndex& row, const QPoint& at) {
                if (const OutlineListSubItem* item = column->contentsModel().subItem(row)) {
                    emit rowMenuRequested(item->systemItem(), at);
                }
            });
    connect(column, &DraggableTreeView::rowDragStarted, this,
            &OutlineListConrtoller::rowDragStarted);
    connect(column, &DraggableTreeView::rowDragEnded, this, &OutlineListConrtoller::rowDragEnded);
    connect(column, &FolderColumnView::columnStepRequested, this,
            [this, column](int by) { step(column, by); });
    return column;
}

// One selected folder opens the next column; anything else closes it.
void OutlineListConrtoller::openSelectedFolderOf(FolderColumnView* column) {
    auto at = std::find(mColumns.begin(), mColumns.end(), column);
    if (at == mColumns.end()) {
        return;
    }
    truncateAfter(static_cast<int>(at - mColumns.begin()));
    ItemList selected = column->selectedNodes();
    if (selected.size() == 1 && selected.front()->isDirectory()) {
        appendColumn(selected.front());
    }
}

void OutlineListConrtoller::step(FolderColumnView* from, int by) {
    auto at = std::find(mColumns.begin(), mColumns.end(), from);
    const auto target = (at - mColumns.begin()) + by;
    if (at == mColumns.end() || target < 0 || target >= static_cast<long>(mColumns.size())) {
        return;
    }
    FolderColumnView* next = mColumns[static_cast<std::size_t>(target)];
    next->setFocus();
    if (!next->currentIndex().isValid() && next->model()->rowCount() > 0) {
        next->setCurrentIndex(next->model()->index(0, 0));
    }
}

}  // namespace korvex
