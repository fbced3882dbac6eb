#include "diagram/RadialView.h"

#include "app/settings/Settings.h"
#include "diagram/DiagramContextMenuController.h"
#include "diagram/DiagramHintPanel.h"
#include "diagram/DiagramOverlayView.h"
#include "diagram/RadialAccessibility.h"
#include "platform/desktop/GoUpKey.h"
#include "platform/desktop/PathListMime.h"
#include "platform/fs/EntryExists.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>

#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace korvex {

namespace {

constexpr int kHintDistance = 14;
// A resize event later than this after the previous one starts a new resize.
constexpr int kLiveResizeQuietMs = 200;

}  // namespace

RadialView::RadialView(RadialController& controller, QWidget* parent)
    : QWidget(parent),
      mController(controller),
      mOverlay(new DiagramOverlayView(controller, this)),
      mHint(new DiagramHintPanel(this)),
      mMenuController(std::make_unique<DiagramContextMenuController>(controller)),
      mLiveResizeEnd(new QTimer(this)) {
    mLiveResizeEnd->setSingleShot(true);
    mLiveResizeEnd->setInterval(kLiveResizeQuietMs);
    connect(mLiveResizeEnd, &QTimer::timeout, this, [this] { viewDidEndLiveResize(); });
    installRadialAccessibility();
    setMinimumSize(200, 200);
    setMouseTracking(true);
    // A Tab stop of its own: Return collects, the go-up keys zoom out.
    setFocusPolicy(Qt::StrongFocus);
    mController.setNeedsDisplayHandler([this] {
        update();
        mOverlay->update();
    });
    mController.setOverlayHandler(
        [this](const QRectF& area) { mOverlay->update(area.toAlignedRect()); });
    mController.setRootChangedHandler([this] { mHint->hide(); });
    mController.setFileDragHandler([this](const DragFileInfo& info) { return runFileDrag(info); });
}

RadialView::~RadialView() {
    mController.setLiveResizing(false);
    mController.setNeedsDisplayHandler(nullptr);
    mController.setOverlayHandler(nullptr);
    mController.setFileDragHandler(nullptr);
    mController.setRootChangedHandler(nullptr);
    dropAccessibilityElements();
}

void RadialView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    mController.DrawRadialSructure(painter, event->rect());
}

void RadialView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    mController.initRadialParameters(rect());
    mOverlay->setGeometry(rect());
    if (!isVisible()) {
        return;
    }
    if (!mLiveResizeEnd->isActive()) {
        viewWillStartLiveResize();
    }
    mLiveResizeEnd->start();
}

void RadialView::viewWillStartLiveResize() {
    mController.setLiveResizing(true);
    mHint->hide();
    mOverlay->setShowsSelection(false);
}

void RadialView::viewDidEndLiveResize() {
    mController.setLiveResizing(false);
    mOverlay->setShowsSelection(true);
    if (ItemRef highlighted = mController.highlightedItem(); highlighted != nullptr) {
        highlightListItem(highlighted);
    }
    // The sectors moved under a pointer that stayed still.
    if (mLastPointer && _enableMouseEvents) {
        operateMouseMove(*mLastPointer);
    }
}

void RadialView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    mOverlay->ResumeAnimation();
}

bool RadialView::event(QEvent* event) {
    // A hint is a window of its own: left up, it would float over the
    // dialogs and sheets that took the window's place.
    if (event->type() == QEvent::WindowDeactivate) {
        mHint->hide();
    }
    return QWidget::event(event);
}

void RadialView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    mOverlay->SuspendAnimation();
    mHint->hide();
}

// ---- Pointer

void RadialView::highlightListItem(const ItemRef& node) {
    if (node == nullptr && mController.highlightedItem() == nullptr) {
        return;  // leaves a sector the pointer is on alone
    }
    mController.setHiliteOnRadial(node);
    if (mController.isLiveResizing()) {
        return;
    }
    const std::optional<QPointF> rightmost =
        node != nullptr && isVisible() ? mController.getRightPointerOfItemSector(node.get())
                                       : std::nullopt;
    if (!rightmost) {
        mHint->hide();
        return;
    }
    updateHint(mapToGlobal(rightmost->toPoint()));
}

void RadialView::operateMouseMove(QPointF point) {
    QRectF dirty;
    mController.OperateMousePoint(point, dirty);
    if (rect().contains(point.toPoint()) && isVisible()) {
        updateHint(mapToGlobal(point.toPoint()));
    } else {
        mHint->hide();
    }
}

void RadialView::updateHint(QPoint globalPoint) {
    DiagramHost* host = mController.host();
    const bool allowed = !mController.isLiveResizing() && Settings::showHintForSelectedItem() &&
                         (host != nullptr ? host->hintAllowed() && !host->isReviewWindowVisible()
                                          : isActiveWindow());
    std::optional<HintContent> content = mController.hintForSector(mController.pointedSector());
    if (!allowed || !content) {
        mHint->hide();
        return;
    }
    mHint->showContent(*content, globalPoint, kHintDistance);
}

void RadialView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        mController.LMouseDragged(event->position());
        return;
    }
    mLastPointer = event->position();
    if (_enableMouseEvents) {
        operateMouseMove(event->position());
    }
}

void RadialView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    mLastPointer.reset();
    if (_enableMouseEvents) {
        QRectF dirty;
        mController.OperateMouseExit(dirty);
        mHint->hide();
    }
}

void RadialView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    mHint->hide();
    mController.LMouseDown(event->position());
}

void RadialView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (mController.LMouseClick(event->position(), event->modifiers())) {
        operateMouseMove(event->position());
    }
}

bool RadialView::runFileDrag(const DragFileInfo& info) {
    if (!mFileDragsEnabled) {
        return false;
    }
    m_bDragRemovable = info.removable;
    auto* drag = new QDrag(this);
    drag->setMimeData(platform::mimeDataForPaths({info.text}).release());
    const QPixmap icon = style()->standardIcon(QStyle::SP_FileIcon).pixmap(48, 48);
    drag->setPixmap(icon);
    drag->setHotSpot(QPoint(icon.width() / 2, icon.height() / 2));
    DiagramCollectionActions* collection = mController.collectionActions();
    if (collection != nullptr) {
        collection->setIsDragging(true);
    }
    const Qt::DropAction done =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    if (collection != nullptr) {
        collection->setIsDragging(false);
        // A file manager that took the file (into its trash, or elsewhere)
        // moved it: the tree follows.
        if (done == Qt::MoveAction && info.removable && !platform::somethingExistsAt(info.text)) {
            collection->processRemovedPaths({info.text});
        }
    }
    return true;
}

// ---- Menu and keys

std::unique_ptr<QMenu> RadialView::contextMenuAt(QPointF point) {
    QRectF dirty;
    mController.OperateMousePoint(point, dirty);
    mHint->hide();
    return mMenuController->buildMenu(this);
}

void RadialView::contextMenuEvent(QContextMenuEvent* event) {
    if (mController.isAnimating()) {
        return;
    }
    std::unique_ptr<QMenu> menu = contextMenuAt(event->pos());
    menu->exec(event->globalPos());
    // The pointer may have moved while the menu was open.
    operateMouseMove(mapFromGlobal(QCursor::pos()));
}

void RadialView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        mController.moveToCollection();
        return;
    }
    if (platform::isGoUpKey(*event)) {
        if (FolderSystemItem* parent =
                mController.root() != nullptr ? mController.root()->getParent() : nullptr) {
            mController.moveUpTo(ItemRef(parent));
        }
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        mController.copyFilePathForItem(mController.itemForCopy().get());
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- Accessibility

RadialView::LayoutKey RadialView::currentLayout() const {
    return {mController.root().get(), mController.unscannedTarget().get(), mController.totalSize(),
            mController.subLevels(), mController.getCircleBoundRect()};
}

const std::vector<RadialSectorAccessibilityElement*>& RadialView::accessibilityElements() {
    if (mAccessibilityBuilt && !(mAccessibilityLayout == currentLayout())) {
        invalidateAccessibilityElements();
    }
    if (!mAccessibilityBuilt) {
        mAccessibilityBuilt = true;
        mAccessibilityLayout = currentLayout();
        for (SectorAccessibility& sector : mController.buildAccessibilityElements()) {
            auto* element = new RadialSectorAccessibilityElement(this, std::move(sector));
            QAccessible::registerAccessibleInterface(element);
            m_accessibilityElements.push_back(element);
        }
    }
    return m_accessibilityElements;
}

void RadialView::invalidateAccessibilityElements() {
    if (!mAccessibilityBuilt) {
        return;
    }
    dropAccessibilityElements();
    QAccessibleEvent changed(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&changed);
}

void RadialView::dropAccessibilityElements() {
    mAccessibilityBuilt = false;
    for (RadialSectorAccessibilityElement* element : m_accessibilityElements) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(element));
    }
    m_accessibilityElements.clear();
}

}  // namespace korvex
