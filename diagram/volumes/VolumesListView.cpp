#include "diagram/volumes/VolumesListView.h"

#include "diagram/volumes/RowScanButton.h"
#include "diagram/volumes/SidebarPalette.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace korvex {

namespace {
constexpr int kSpinnerIntervalMs = 80;
}

VolumesListView::VolumesListView(VolumesTableController& controller, QWidget* parent)
    : QListView(parent), mController(controller), mModel(controller), mDelegate(controller) {
    setModel(&mModel);
    setItemDelegate(&mDelegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(false);
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setViewportMargins(0, VolumesTableController::kDocumentMargin / 2, 0,
                       VolumesTableController::kDocumentMargin / 2);
    // A sidebar takes the window colour rather than the text-field colour.
    setBackgroundRole(QPalette::Window);
    viewport()->setBackgroundRole(QPalette::Window);
    setMinimumWidth(180);

    mSpinner.setInterval(kSpinnerIntervalMs);
    connect(&mSpinner, &QTimer::timeout, this, [this] {
        mDelegate.advanceSpinner();
        updateSpinningButtons();
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionFromWidget(); });
    mController.addObserver(this);
    selectionDidMove(mController.selectedRow());
}

VolumesListView::~VolumesListView() {
    mController.removeObserver(this);
}

void VolumesListView::rowsDidChange() {
    selectionDidMove(mController.selectedRow());
    updateSpinner();
}

void VolumesListView::rowDidChange(int /*row*/) {
    updateSpinner();
}

void VolumesListView::updateSpinner() {
    if (mController.hasProccessingVolume()) {
        if (!mSpinner.isActive()) {
            mSpinner.start();
        }
    } else {
        mSpinner.stop();
    }
}

// Only the turning arc changes between frames: repainting its button alone
// keeps a frame to a few hundred pixels instead of the whole list, while a
// scan wants every core.
void VolumesListView::updateSpinningButtons() {
    for (int row = 0; row < mModel.rowCount(); ++row) {
        const VolumeRow* item = mController.getItemByRow(row);
        if (item != nullptr && item->entry != nullptr &&
            rowScanActionFor(item->entry->scanningState()) == RowScanAction::Stop) {
            viewport()->update(VolumeRowDelegate::scanButtonRect(visualRect(mModel.index(row))));
        }
    }
}

void VolumesListView::selectionDidMove(int row) {
    mSyncing = true;
    if (mController.isRowValid(row)) {
        QModelIndex index = mModel.index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearSelection();
    }
    mSyncing = false;
}

void VolumesListView::scrollRowToVisible(int row) {
    scrollTo(mModel.index(row));
}

void VolumesListView::selectionFromWidget() {
    if (mSyncing) {
        return;
    }
    const QModelIndexList picked = selectionModel()->selectedIndexes();
    // Only the controller clears the selection; a header never takes it.
    int row = picked.isEmpty() ? -1 : picked.first().row();
    if (row < 0 || (row != mController.selectedRow() && !mController.selectRow(row))) {
        selectionDidMove(mController.selectedRow());
    }
}

QModelIndex VolumesListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const bool upward = action == MoveUp || action == MovePageUp || action == MoveHome ||
                        action == MovePrevious || action == MoveLeft;
    int row = current;
    if (action == MoveUp || action == MoveDown) {
        row = upward ? current - 1 : current + 1;
    } else {
        QModelIndex moved = QListView::moveCursor(action, modifiers);
        row = moved.isValid() ? moved.row() : current;
    }
    // Headers are stepped over; at either end the cursor stays where it was.
    const int step = upward ? -1 : 1;
    while (mController.isRowValid(row) && !mController.shouldSelectRow(row)) {
        row += step;
    }
    if (!mController.shouldSelectRow(row)) {
        row = current;
    }
    return mModel.index(row);
}

void VolumesListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && mController.isGroupRow(index.row())) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && index.isValid() &&
        !mController.isGroupRow(index.row()) &&
        VolumeRowDelegate::scanButtonRect(visualRect(index))
            .contains(event->position().toPoint())) {
        mController.scanButtonAction(index.row());
        viewport()->update();
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void VolumesListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        mController.doubleTabAction(index.row());
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void VolumesListView::mouseMoveEvent(QMouseEvent* event) {
    mDelegate.setPointer(event->position().toPoint());
    viewport()->update();
    QListView::mouseMoveEvent(event);
}

void VolumesListView::leaveEvent(QEvent* event) {
    mDelegate.setPointer({-1, -1});
    viewport()->update();
    QListView::leaveEvent(event);
}

void VolumesListView::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && mController.processKeyDownWith(event->key())) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void VolumesListView::focusInEvent(QFocusEvent* event) {
    mController.setHasKeyboardFocus(true);
    QListView::focusInEvent(event);
    viewport()->update();
}

void VolumesListView::focusOutEvent(QFocusEvent* event) {
    mController.setHasKeyboardFocus(false);
    QListView::focusOutEvent(event);
    viewport()->update();
}

}  // namespace korvex
