// What the mouse and the keyboard do on the diagram: clicks, rotation by
// dragging, file drags, copying and the removal-collection toggles.

#include "app/settings/Settings.h"
#include "browse/contents/SelectionAvailability.h"
#include "diagram/RadialController.h"
#include "platform/desktop/PathListMime.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace korvex {

namespace {

double angleOf(QPointF point, QPointF center) {
    return std::atan2(center.y() - point.y(), point.x() - center.x());
}

}  // namespace

void RadialController::LMouseDown(QPointF point) {
    mPrevMouse = point;
    m_bWasDragging = false;
    mFirstDragOfPress = true;
}

bool RadialController::LMouseDragged(QPointF point) {
    if (isAnimating()) {
        return false;
    }
    if (mFirstDragOfPress) {
        mFirstDragOfPress = false;
        if (dragFromDiagramByPoint(mPrevMouse)) {
            m_bWasDragging = true;
            return false;
        }
    }
    if (point == mPrevMouse) {
        return false;
    }
    setReferenceAngle(referenceAngle() + angleOf(point, m_Center) - angleOf(mPrevMouse, m_Center));
    mPrevMouse = point;
    m_bWasDragging = true;
    needsDisplay();
    return true;
}

bool RadialController::LMouseClick(QPointF point, Qt::KeyboardModifiers modifiers) {
    if (m_bWasDragging) {
        m_bWasDragging = false;
        return false;
    }
    if (isAnimating()) {
        return false;
    }
    const SectorItem hit = getItemByPoint(point);
    if (hit.empty() || hit.marker == SectorMarker::Free) {
        return false;
    }
    const ItemRef& node = hit.m_pItem;
    if (isRootBeingScanned()) {
        // While the tree grows the user may still look into one of its
        // folders; the diagram keeps that folder's rings in step.
        if (node != nullptr && node != m_pRoot && node->isDirectory()) {
            startDrillInAnimation(node, hit.m_nSubLevel, hit.m_dSkAngle);
        }
        return false;
    }
    if (node != nullptr && !node->isSpecial() && mHost != nullptr) {
        // The desktop's Command key is Control here.
        if (modifiers & Qt::ControlModifier) {
            mHost->revealItem(*node);
            return false;
        }
        if (modifiers & Qt::ShiftModifier) {
            mHost->previewItem(*node);
            return false;
        }
        if (modifiers & Qt::AltModifier) {
            mHost->showItemProperties(*node);
            return false;
        }
    }
    if (node != nullptr && node == m_pRoot) {
        if (FolderSystemItem* parent = node->getParent()) {
            startDrillOutAnimation(parent);
        } else if (canSwitchFreeSector()) {
            setDrawFreeSector();
        }
        return false;
    }
    if (node != nullptr && node->isDirectory()) {
        startDrillInAnimation(node, hit.m_nSubLevel, hit.m_dSkAngle);
        return false;
    }
    const bool startsScan = hit.marker == SectorMarker::Target ||
                            hit.marker == SectorMarker::Occupied ||
                            (node != nullptr && node->isUnscanned());
    if (startsScan && mHost != nullptr && !mHost->isScanning()) {
        mHost->rescanSelectedTarget();
    }
    return false;
}

// ---- File drags and copies

std::string RadialController::copyTextForItem(const FileSystemItem* node) const {
    if (node == nullptr) {
        return mTarget != nullptr ? mTarget->getFullPath() : std::string();
    }
    if (node->isSpecial()) {
        return node->getDesc();
    }
    return node->fullPath();
}

std::optional<DragFileInfo> RadialController::getDragFileInfoByPoint(QPointF point) const {
    if (m_pRoot == nullptr || isRootBeingScanned()) {
        return std::nullopt;
    }
    const SectorItem hit = getItemByPoint(point);
    if (hit.m_pItem == nullptr) {
        return std::nullopt;
    }
    const FileSystemItem& node = *hit.m_pItem;
    DragFileInfo info;
    info.text = copyTextForItem(&node);
    info.removable = !node.isSpecial() && !node.isTopHiddenFlag() && !node.isTopTrashFlag() &&
                     hit.m_pItem != m_pRoot;
    info.from = getBoundsOfItem(hit);
    return info;
}

bool RadialController::dragFromDiagramByPoint(QPointF point) {
    std::optional<DragFileInfo> info = getDragFileInfoByPoint(point);
    return info && mFileDrag && mFileDrag(*info);
}

ItemRef RadialController::itemForCopy() const {
    if (m_pCurPointedSector.m_pItem != nullptr) {
        return m_pCurPointedSector.m_pItem;
    }
    if (!mSelectedSectors.empty() && mSelectedSectors.front().m_pItem != nullptr) {
        return mSelectedSectors.front().m_pItem;
    }
    return m_pRoot;
}

void RadialController::copyFilePathForItem(const FileSystemItem* node) const {
    const std::string text = copyTextForItem(node);
    if (text.empty()) {
        return;
    }
    QGuiApplication::clipboard()->setMimeData(platform::mimeDataForPaths({text}).release());
}

// ---- Removal collection

bool RadialController::canObjectBeCollected(const FileSystemItem& node) const {
    if (node.getParent() == nullptr && node.isVol()) {
        return false;
    }
    if (node.isSpecial() || !isItemSelectable(node)) {
        return false;
    }
    if (node.isTopHiddenFlag()) {
        return Settings::allowRemovingHiddenFiles();
    }
    return true;
}

bool RadialController::isCollectedOrUnderCollected(const FileSystemItem& node) const {
    return node.isTopCollected();
}

void RadialController::selectDeselectCurrentPointedSector() {
    const ItemRef node = m_pCurPointedSector.m_pItem;
    if (mCollection == nullptr || node == nullptr || !canObjectBeCollected(*node)) {
        return;
    }
    if (node->isCollected()) {
        mCollection->removeFromCollectionItem(node);
    } else {
        mCollection->addItemsToCollection({node});
    }
}

ItemList RadialController::itemsToChangeSelection() const {
    ItemList items;
    if (mHost == nullptr) {
        return items;
    }
    for (const ItemRef& item : mHost->selectedListItems()) {
        if (item != nullptr && canObjectBeCollected(*item)) {
            items.push_back(item);
        }
    }
    return items;
}

bool RadialController::isAllItemsSelectedInArray(const ItemList& items) const {
    return std::all_of(items.begin(), items.end(),
                       [this](const ItemRef& item) { return isCollectedOrUnderCollected(*item); });
}

void RadialController::moveToCollection() {
    if (mCollection == nullptr || mHost == nullptr || mHost->isScanning()) {
        return;
    }
    const ItemList items = itemsToChangeSelection();
    if (items.empty()) {
        return;
    }
    if (isAllItemsSelectedInArray(items)) {
        for (const ItemRef& item : items) {
            mCollection->removeFromCollectionItem(item);
        }
    } else {
        mCollection->addItemsToCollection(items);
    }
}

}  // namespace korvex
