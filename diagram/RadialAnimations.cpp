// The diagram's animated changes: the free-space switch, the removal and
// addition of nodes through cut items, and a collected node leaving the view.

#include "diagram/RadialController.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <QTimer>

#include <chrono>
#include <set>

namespace korvex {

using namespace std::chrono_literals;

namespace {

FolderSystemItem* asFolder(const ItemRef& item) {
    return item != nullptr && item->isDir() ? static_cast<FolderSystemItem*>(item.get()) : nullptr;
}

}  // namespace

void RadialController::needsDisplay() const {
    if (mNeedsDisplay) {
        mNeedsDisplay();
    }
}

void RadialController::redrawLater() {
    if (mLaterRedraw == nullptr) {
        mLaterRedraw = std::make_unique<QTimer>();
        mLaterRedraw->setSingleShot(true);
        mLaterRedraw->setInterval(100ms);
        mLaterRedraw->callOnTimeout([this] { needsDisplay(); });
    }
    mLaterRedraw->start();
}

void RadialController::setBackgroundPanelHandler(std::function<void(double)> handler) {
    mBackgroundPanel = std::move(handler);
    updateBackgroundPanel();
}

void RadialController::updateBackgroundPanel() {
    if (mBackgroundPanel) {
        mBackgroundPanel(isRootBeingScanned() ? 0.0 : 0.9999);
    }
}

bool RadialController::isAnimating() const {
    return mFreeSectorAnimation.isRunning() || mCutAnimation.isRunning() ||
           m_RDAnimation.isRunning() || m_nDrillAnimating != 0;
}

// ---- Free space

bool RadialController::canSwitchFreeSector() const {
    if (m_pRoot == nullptr || !m_pRoot->isVol() || m_pRoot->getParent() != nullptr) {
        return false;
    }
    // A (nearly) full volume has no free space worth showing.
    const auto& volume = static_cast<const VolumeSystemItem&>(*m_pRoot);
    const std::int64_t capacity = volume.getVolSize();
    if (capacity <= 0) {
        return false;
    }
    const double occupied =
        static_cast<double>(volume.getOccSize()) / static_cast<double>(capacity);
    return occupied < 0.99 && volume.gettotalsize() < capacity;
}

void RadialController::setDrawFreeSector() {
    FolderSystemItem* root = asFolder(m_pRoot);
    if (root == nullptr || !root->isVol() || m_pRoot->getParent() != nullptr) {
        return;  // only a scanned volume root knows its free space
    }
    m_bDrawFreeSector = !m_bDrawFreeSector;
    root->setUseFreeSector(m_bDrawFreeSector);
    m_pCurPointedSector.cleanSector();
    mFreeSectorAnimation.start(
        200ms, [this](double value) { updateFreeSectorAnimationValue(value); },
        [this] { stopFreeSectorAnimation(); });
}

void RadialController::updateFreeSectorAnimationValue(double value) {
    FolderSystemItem* root = asFolder(m_pRoot);
    if (root == nullptr) {
        return;
    }
    const double full = root->getFullRatio();
    const double share = m_bDrawFreeSector ? 1.0 - value : value;
    m_dFullRatio = full + (1.0 - full) * share;
    if (m_dFullRatio > 0) {
        m_lTotalSize =
            static_cast<std::int64_t>(static_cast<double>(root->getOccSize()) / m_dFullRatio);
    }
    m_pCurPointedSector.cleanSector();
    needsDisplay();
}

void RadialController::stopFreeSectorAnimation() {
    if (FolderSystemItem* root = asFolder(m_pRoot)) {
        root->setUseFreeSector(m_bDrawFreeSector);
    }
    ReinitRootParams();
    needsDisplay();
}

// ---- Removal and addition

void RadialController::updateDiagramAfterRemovingItems(const ItemList& items) {
    m_pRemovingItems.insert(m_pRemovingItems.end(), items.begin(), items.end());
    ReinitRootParams();
}

void RadialController::updateDiagramAfterAddingItems(const ItemList& items) {
    m_pAddingItems.insert(m_pAddingItems.end(), items.begin(), items.end());
}

void RadialController::startCutAnimation() {
    if (m_pRemovingItems.empty() && m_pAddingItems.empty()) {
        return;
    }
    mCutAnimation.start(
        1000ms, [this](double value) { updateCutAnimationValue(value); },
        [this] { stopCutAnimation(); });
}

void RadialController::setCoefficient(FileSystemItem& item, double koef) {
    const std::int64_t before = item.gettotalsize();
    item.setdrawkoef(koef);
    const std::int64_t change = item.gettotalsize() - before;
    if (change != 0 && item.getParent() != nullptr) {
        item.getParent()->increaseTotalSize(change);
    }
}

void RadialController::updateCutAnimationValue(double value) {
    for (const ItemRef& item : m_pRemovingItems) {
        setCoefficient(*item, 1.0 - value);
    }
    for (const ItemRef& item : m_pAddingItems) {
        setCoefficient(*item, value);
    }
    if (FolderSystemItem* root = asFolder(m_pRoot)) {
        m_lTotalSize = root->getTheSize();
    }
    needsDisplay();
}

void RadialController::stopCutAnimation() {
    // A run cut short still ends with every coefficient at its goal.
    updateCutAnimationValue(1.0);
    std::set<FileSystemItem*> tops;
    for (const ItemRef& item : m_pRemovingItems) {
        if (FolderSystemItem* parent = item->getParent()) {
            tops.insert(item->getTopParent());
            parent->removeChild(item.get());
        }
    }
    for (const ItemRef& item : m_pAddingItems) {
        if (item->getParent() != nullptr) {
            tops.insert(item->getTopParent());
            item->replaceToSuperItem();
        }
    }
    m_pRemovingItems.clear();
    m_pAddingItems.clear();
    for (FileSystemItem* top : tops) {
        if (top != nullptr && top->isDir()) {
            static_cast<FolderSystemItem*>(top)->sortChildrenBySize(false);
        }
    }
    ReinitRootParams();
    if (mListsRoot) {
        mListsRoot(m_pRoot);
    }
    needsDisplay();
}

ItemRef RadialController::getCutItemForItemToCollection(FileSystemItem* item) {
    if (item == nullptr || item->getParent() == nullptr) {
        return nullptr;
    }
    ItemRef cut = item->createOrGetCutItem();
    if (cut == nullptr) {
        return nullptr;
    }
    FolderSystemItem* parent = item->getParent();
    if (cut.get() != item) {
        parent->replaceChild(item, cut);
    }
    if (m_pCurPointedSector.m_pItem.get() == item) {
        m_pCurPointedSector.m_pItem = cut;
    }
    if (cut->getdrawkoef() > 0) {
        setCoefficient(*cut, 0.0);
        ReinitRootParams();
    }
    return cut;
}

}  // namespace korvex
