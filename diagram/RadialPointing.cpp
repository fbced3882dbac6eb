// Finding the sector under the pointer, following the pointer and the
// hint that describes the pointed sector.

#include "diagram/RadialController.h"
#include "diagram/RadialDiagramLocalizable.h"
#include "diagram/RingRadii.h"
#include "platform/fs/FileDates.h"
#include "scan/format/ItemNotes.h"
#include "scan/format/SizeFormatter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korvex {

namespace L = RadialDiagramLocalizable;

namespace {

FolderSystemItem* asFolder(const ItemRef& item) {
    return item != nullptr && item->isDir() ? static_cast<FolderSystemItem*>(item.get()) : nullptr;
}

std::string named(const platform::TextEntry& entry, const std::string& name) {
    return platform::fillPlaceholders(L::text(entry), {name});
}

}  // namespace

double RadialController::fractionOfPoint(QPointF point) const {
    // Screen y grows downwards; the angle is measured as on paper.
    double t = (referenceAngle() - std::atan2(m_Center.y() - point.y(), point.x() - m_Center.x())) /
               (2 * M_PI);
    t -= std::floor(t);
    return t;
}

SectorItem RadialController::getItemByPoint(QPointF point) const {
    if ((m_pRoot == nullptr && mTarget == nullptr) || m_fullRadius <= 0) {
        return {};
    }
    const double q = std::hypot(point.x() - m_Center.x(), point.y() - m_Center.y()) / m_fullRadius;
    const double t = fractionOfPoint(point);
    if (mTarget != nullptr) {
        return getItemByPointInNotScannedVolume(q, t);
    }
    const int n = m_nSubLevels;
    if (isRootBeingScanned() && m_pRoot->isVol()) {
        FolderSystemItem* volume = asFolder(m_pRoot);
        if (volume != nullptr && volume->getOccSize() != 0 && q > RingRadii::F(n, 0) &&
            q <= RingRadii::F(n, 1)) {
            const double counted = static_cast<double>(volume->gettotalsize()) /
                                   static_cast<double>(volume->getOccSize());
            if (t > counted) {
                SectorItem sector;
                sector.marker = SectorMarker::Unscanned;
                sector.m_nSubLevel = 1;
                sector.m_dSkAngle = counted;
                return sector;
            }
        }
    }
    if (n < 0 || q > RingRadii::F(n, n)) {
        return {};
    }
    int level = 0;
    while (level < n && q > RingRadii::F(n, level)) {
        ++level;
    }
    if (level == 0) {
        SectorItem sector;
        sector.m_pItem = m_pRoot;
        return sector;
    }
    return getItemBySublevel(level, t);
}

SectorItem RadialController::getItemByPointInNotScannedVolume(double q, double t) const {
    const int n = m_nSubLevels;
    SectorItem sector;
    if (q > 1) {
        return sector;
    }
    if (q <= RingRadii::F(n, 0)) {
        sector.marker = SectorMarker::Target;
        return sector;
    }
    double occupied = 1.0;
    if (rootIsUnscannedVolume() && mTarget->getsize() > 0) {
        occupied =
            static_cast<double>(mTarget->getOccSize()) / static_cast<double>(mTarget->getsize());
    }
    sector.m_nSubLevel = 1;
    if (t > occupied) {
        sector.marker = SectorMarker::Free;
        sector.m_dSkAngle = t;
    } else {
        sector.marker = SectorMarker::Occupied;
    }
    return sector;
}

SectorItem RadialController::getItemBySublevel(int level, double t) const {
    if (m_lTotalSize <= 0) {
        return {};
    }
    const double total = static_cast<double>(m_lTotalSize);
    FileSystemItem* node = m_pRoot.get();
    double start = 0;
    for (int ring = 1; ring <= level; ++ring) {
        FileSystemItem* found = nullptr;
        double at = start;
        for (std::size_t i = 0, count = node->numberOfChildren(); i < count; ++i) {
            FileSystemItem* child = node->childAtIndex(i);
            const std::int64_t size = child->gettotalsize();
            if (node->isSorted() && size == 0) {
                continue;
            }
            const double f = static_cast<double>(size) / total;
            if (t >= at && t < at + f) {
                found = child;
                break;
            }
            at += f;
        }
        if (found == nullptr) {
            return {};
        }
        if (ring == level) {
            // In a sorted folder a child too small to draw is still found:
            // it lies under the small-items sector.
            if (!node->isSorted() && !CanDrawItem(*found, ring)) {
                return {};
            }
            SectorItem sector;
            sector.m_pItem = found;
            sector.m_nSubLevel = level;
            sector.m_dSkAngle = at;
            return sector;
        }
        if (!found->isDirectory() || !CanDrawItem(*found, ring)) {
            return {};
        }
        node = found;
        start = at;
    }
    return {};
}

// ---- Tracking

void RadialController::overlayNeedsDisplay(const QRectF& area) const {
    // An outline's halo reaches past its sector's bounds; a halo left half
    // painted over looks like a second outline still lit.
    if (mOverlayNeedsDisplay && !area.isEmpty()) {
        mOverlayNeedsDisplay(
            area.adjusted(-kOutlineReach, -kOutlineReach, kOutlineReach, kOutlineReach));
    }
}

bool RadialController::OperateMousePoint(QPointF point, QRectF& dirty) {
    dirty = QRectF();
    if (isAnimating()) {
        return false;
    }
    SectorItem hit = getItemByPoint(point);
    if (hit.sameAs(m_pCurPointedSector)) {
        return false;
    }
    const bool hadOld = !m_pCurPointedSector.empty();
    if (hadOld) {
        dirty = getBoundsOfItem(m_pCurPointedSector);
    }
    if (!hit.empty()) {
        dirty = dirty.united(getBoundsOfItem(hit));
    }
    dirty.adjust(-0.25, -0.25, 0.25, 0.25);
    m_pCurPointedSector = hit;
    overlayNeedsDisplay(dirty);
    return !hit.empty() || hadOld;
}

bool RadialController::OperateMouseExit(QRectF& dirty) {
    dirty = QRectF();
    if (m_pCurPointedSector.empty()) {
        return false;
    }
    dirty = getBoundsOfItem(m_pCurPointedSector).adjusted(-0.25, -0.25, 0.25, 0.25);
    m_pCurPointedSector.cleanSector();
    overlayNeedsDisplay(dirty);
    return true;
}

// ---- Hint

std::optional<HintContent> RadialController::hintForSector(const SectorItem& sector) const {
    if (sector.empty()) {
        return std::nullopt;
    }
    const std::string rootName =
        mTarget != nullptr ? mTarget->getDisplayName() : platform::displayNameAtPath(rootPath());
    if (!sector.marker) {
        return hintForNode(*sector.m_pItem);
    }
    HintContent hint;
    hint.title = rootName;
    hint.path = rootPath();
    hint.caption = L::text(L::kSizeCaption);
    switch (*sector.marker) {
        case SectorMarker::Free:
            if (mTarget != nullptr) {
                hint.sizeText = sizeString(mTarget->getfsize());
            }
            hint.caption = L::text(L::kFreeCaption);
            break;
        case SectorMarker::Occupied:
            if (rootIsUnscannedFolder()) {
                const std::optional<std::int64_t> items =
                    mUnscannedItems ? mUnscannedItems(rootPath()) : std::nullopt;
                hint.sizeText = items ? std::to_string(*items) : L::text(L::kNotCalculated);
                hint.caption = L::text(L::kItemsCaption);
            } else {
                hint.sizeText =
                    sizeString(mTarget != nullptr ? mTarget->getOccSize() : m_lTotalSize);
                hint.caption = L::text(L::kOccupiedCaption);
            }
            break;
        case SectorMarker::Unscanned:
            hint.title = L::text(L::kUnscannedSpace);
            hint.path.clear();
            hint.sizeText = sizeString(getUnscannedScanningVolumeSize());
            break;
        case SectorMarker::Target:
            hint.sizeText = mTarget != nullptr && mTarget->isVol() ? sizeString(mTarget->getsize())
                                                                   : L::text(L::kNotCalculated);
            break;
    }
    return hint;
}

std::optional<HintContent> RadialController::hintForNode(const FileSystemItem& node) const {
    HintContent hint;
    hint.caption = L::text(L::kSizeCaption);
    hint.sizeText = sizeString(node.gettotalsize());
    hint.note = node.isSpecial() ? std::string() : itemNote(node).value_or("");
    hint.path = node.isSpecial() ? std::string() : node.fullPath();
    const std::string name = node.getDisplayName();
    if (node.isSpecial()) {
        hint.title = node.getDesc();
    } else if (node.isTopTrashFlag()) {
        const bool trashItself = node.isTrashFlag() && (node.getParent() == nullptr ||
                                                        !node.getParent()->isTopTrashFlag());
        hint.title = trashItself ? L::text(L::kTrash) : named(L::kInTrash, name);
    } else if (node.isTopHiddenFlag()) {
        hint.title = named(node.isHiddenFlag() ? L::kHiddenItem : L::kSubHiddenItem, name);
    } else {
        hint.title = name;
    }
    if (std::string added = mHintAddition ? mHintAddition(node) : std::string(); !added.empty()) {
        hint.note = hint.note.empty() ? added : hint.note + "\n" + added;
    }
    return hint;
}

std::optional<QPointF> RadialController::getRightPointerOfItemSector(FileSystemItem* node) const {
    if (node == nullptr || m_pRoot == nullptr) {
        return std::nullopt;
    }
    const int n = m_nSubLevels;
    if (node == m_pRoot.get()) {
        return QPointF(m_Center.x() + m_fullRadius * RingRadii::F(n, 0) + 1, m_Center.y());
    }
    SectorItem sector;
    if (!fillSectorItem(sector, node)) {
        return std::nullopt;
    }
    while (sector.m_pItem->getParent() != nullptr && sector.m_nSubLevel > 1 &&
           !CanDrawItem(*sector.m_pItem->getParent(), sector.m_nSubLevel - 1)) {
        fillSectorItem(sector, sector.m_pItem->getParent());
    }
    const int level = sector.m_nSubLevel;
    const double a = sector.m_dSkAngle;
    const double f = m_lTotalSize > 0 ? static_cast<double>(sector.m_pItem->gettotalsize()) /
                                            static_cast<double>(m_lTotalSize)
                                      : 0;
    if (level == 0) {
        return pointAt(m_fullRadius * RingRadii::F(n, 0), a + f / 2);
    }
    const double r1 = radiusOf(level - 1);
    const double r2 = radiusOf(level);
    const double rm = (r1 + r2) / 2;
    const QPointF candidates[] = {pointAt(rm, a), pointAt(rm, a + f), pointAt(r2, a + f / 2),
                                  pointAt(r1, a + f / 2)};
    return *std::max_element(std::begin(candidates), std::end(candidates),
                             [](QPointF l, QPointF r) { return l.x() < r.x(); });
}

// ---- Selection from the lists

void RadialController::selectItems(const ItemList& items) {
    QRectF dirty;
    for (const SectorItem& old : mSelectedSectors) {
        dirty = dirty.united(getBoundsOfItem(old));
    }
    mSelectedSectors.clear();
    for (const ItemRef& item : items) {
        if (item == nullptr || item->getParent() == nullptr || item == m_pRoot) {
            continue;
        }
        SectorItem sector;
        if (fillSectorItem(sector, item.get())) {
            dirty = dirty.united(getBoundsOfItem(sector));
            mSelectedSectors.push_back(sector);
        }
    }
    overlayNeedsDisplay(dirty);
}

void RadialController::setHiliteOnRadial(const ItemRef& node) {
    _highlightedFileSystemItem = node;
    if (_isLiveResizing) {
        return;  // the view takes it up again when the resize ends
    }
    SectorItem sector;
    if (node != nullptr && !fillSectorItem(sector, node.get())) {
        sector.cleanSector();
    }
    if (sector.sameAs(m_pCurPointedSector)) {
        return;
    }
    QRectF dirty = getBoundsOfItem(m_pCurPointedSector).united(getBoundsOfItem(sector));
    m_pCurPointedSector = sector;
    overlayNeedsDisplay(dirty);
}

}  // namespace korvex
