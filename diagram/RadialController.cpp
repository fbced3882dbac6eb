#include "diagram/RadialController.h"

#include "diagram/DiagramColors.h"
#include "diagram/RingRadii.h"
#include "scan/format/PathUtils.h"
#include "scan/tree/VolumeSystemItem.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace korvex {

namespace {

constexpr double kMinimumArc = 3.0;  // points: smaller sectors are folded away

FolderSystemItem* asFolder(const ItemRef& item) {
    return item != nullptr && item->isDir() ? static_cast<FolderSystemItem*>(item.get()) : nullptr;
}

// Shared by every diagram, as the user turned it last.
double gReferenceAngle = M_PI / 2;

}  // namespace

double RadialController::referenceAngle() {
    return gReferenceAngle;
}

void RadialController::setReferenceAngle(double radians) {
    gReferenceAngle = radians;
}

RadialController::RadialController() {
    gReferenceAngle = M_PI / 2;
    DiagramColors::shared().setSaturation(mfSaturationMin, mfSaturationMax);
    DiagramColors::shared().setBrightness(mfBrightnessMin, mfBrightnessMax);
}

RadialController::~RadialController() = default;

void RadialController::setSaturation(double max) {
    mfSaturationMax = max;
    mfSaturationMin = max - mfSaturationDelta;
    DiagramColors::shared().setSaturation(mfSaturationMin, mfSaturationMax);
}

void RadialController::setBrightness(double max) {
    mfBrightnessMax = max;
    mfBrightnessMin = max - mfBrightnessDelta;
    DiagramColors::shared().setBrightness(mfBrightnessMin, mfBrightnessMax);
}

void RadialController::setSaturationE(double max, double delta) {
    mfSaturationMax = max;
    mfSaturationDelta = delta;
}

void RadialController::setBrightnessE(double max, double delta) {
    mfBrightnessMax = max;
    mfBrightnessDelta = delta;
}

void RadialController::initRadialParameters(const QRectF& bounds) {
    m_Center = bounds.center();
    m_fullRadius = 0.95 * std::min(bounds.width(), bounds.height()) / 2;
    initCountOfSublevels();
}

void RadialController::setRoot(ItemRef root, bool setAnyway, bool withRedraw) {
    if (root == nullptr || (root == m_pRoot && mTarget == nullptr && !setAnyway)) {
        return;
    }
    abandonDrill();
    m_pRoot = std::move(root);
    mTarget.reset();
    rootChanged();
    ReinitRootParams();
    if (withRedraw) {
        redrawLater();
    }
}

void RadialController::setRoot(std::shared_ptr<TopLevelItem> target) {
    if (target == nullptr) {
        return;
    }
    if (target->scannedRoot() != nullptr) {
        setRoot(target->scannedRoot(), true);
        return;
    }
    abandonDrill();
    m_pRoot.reset();
    mTarget = std::move(target);
    rootChanged();
    ReinitRootParams();
}

void RadialController::rootChanged() {
    // What was pointed at belongs to the diagram that was shown.
    m_pCurPointedSector.cleanSector();
    if (mRootChanged) {
        mRootChanged();
    }
}

void RadialController::setScanningPath(std::string path) {
    mScanningPath = std::move(path);
    ReinitRootParams();
}

void RadialController::volumeWasRemoved(const std::string& volumePath) {
    const std::string path = rootPath();
    if (path.empty() || !(path == volumePath || isInFolder(path, volumePath))) {
        return;
    }
    abandonDrill();
    m_pRoot.reset();
    mTarget.reset();
    rootChanged();
    ReinitRootParams();
    needsDisplay();
}

std::string RadialController::rootPath() const {
    if (mTarget != nullptr) {
        return mTarget->getFullPath();
    }
    return m_pRoot != nullptr ? m_pRoot->fullPath() : std::string();
}

bool RadialController::rootIsUnscannedVolume() const {
    return mTarget != nullptr && mTarget->isVol();
}

bool RadialController::rootIsUnscannedFolder() const {
    return mTarget != nullptr && mTarget->isFolder();
}

bool RadialController::isRootBeingScanned() const {
    return !mScanningPath.empty() && m_pRoot != nullptr && m_pRoot->getParent() == nullptr &&
           rootPath() == mScanningPath;
}

void RadialController::ReinitRootParams() {
    m_bDrawFreeSector = false;
    m_dFullRatio = 1.0;
    m_lTotalSize = 0;
    if (mTarget != nullptr) {
        m_lTotalSize = mTarget->getTheSize();
    } else if (FolderSystemItem* folder = asFolder(m_pRoot)) {
        m_bDrawFreeSector = folder->getUseFreeSector();
        m_lTotalSize = folder->getTheSize();
        if (m_bDrawFreeSector) {
            m_dFullRatio = folder->getFullRatio();
        }
    } else if (m_pRoot != nullptr) {
        m_lTotalSize = m_pRoot->gettotalsize();
    }
    FolderSystemItem* scanned = isRootBeingScanned() ? asFolder(m_pRoot) : nullptr;
    if (scanned != nullptr) {
        m_lTotalSize = scanned->getOccSize();
        if (!m_pAnimController.isRunning()) {
            m_pAnimController.initAnimation();
        }
    } else {
        m_pAnimController.stopAnimation();
    }
    initCountOfSublevels();
    m_pCurPointedSector.cleanSector();
    updateBackgroundPanel();
}

void RadialController::UpdateRadialStructureDuringProcessByRoot(const FileSystemItem* node) {
    if (node == nullptr || node != m_pRoot.get()) {
        return;
    }
    m_lTotalSize = std::max(m_lTotalSize, node->gettotalsize());
    initCountOfSublevels();
}

// ---- Ring count

void RadialController::initCountOfSublevels() {
    m_nSubLevels = 0;
    if ((m_pRoot == nullptr && mTarget == nullptr) || m_fullRadius == 0) {
        return;
    }
    if (rootIsUnscannedFolder() || rootIsUnscannedVolume()) {
        m_nSubLevels = 1;
        return;
    }
    if (m_lTotalSize < 1) {
        return;
    }
    FolderSystemItem* folder = asFolder(m_pRoot);
    if (folder != nullptr && folder->isMaxSizesValid()) {
        const std::int64_t* maxSizes = folder->getMaxSizesByLevels();
        int n = 0;
        for (int level = RingRadii::kMaxRings; level >= 1; --level) {
            if (maxSizes[level] > 0) {
                n = level;
                break;
            }
        }
        while (n > 0) {
            m_nSubLevels = n;
            if (getMaxVisibleSublevelByMaxSizes(maxSizes) >= n) {
                break;
            }
            --n;
        }
        m_nSubLevels = m_pAnimController.checkNewLevels(n);
        return;
    }
    // Rings beyond the radii table's last row can never be drawn, and the walk
    // below never answers more than the tree's depth: starting from that row
    // gives the same count without measuring the depth of the whole tree.
    int n = RingRadii::kMaxDrawnRings;
    m_nSubLevels = n;
    while (n > 0 && getMaxVisibleSublevelOfItem(*m_pRoot, 1) < n) {
        m_nSubLevels = --n;
    }
}

int RadialController::getMaxVisibleSublevelByMaxSizes(const std::int64_t* maxSizes) const {
    const int n = m_nSubLevels;
    if (n < 1) {
        return n;
    }
    for (int level = n; level >= 1; --level) {
        double arc = 2 * M_PI * m_fullRadius * RingRadii::F(n, level) *
                     static_cast<double>(maxSizes[level]) / static_cast<double>(m_lTotalSize);
        if (arc >= kMinimumArc) {
            return level;
        }
    }
    return 0;
}

int RadialController::getMaxVisibleSublevelOfItem(const FileSystemItem& node, int level) const {
    int result = level - 1;
    for (std::size_t i = 0, count = node.numberOfChildren(); i < count; ++i) {
        const FileSystemItem& child = *node.childAtIndex(i);
        if (CanDrawItem(child, level)) {
            if (level == m_nSubLevels) {
                return level;
            }
            result = std::max(result, level);
            if (child.isDir() && !child.isPack()) {
                int deeper = getMaxVisibleSublevelOfItem(child, level + 1);
                if (deeper >= m_nSubLevels) {
                    return m_nSubLevels;
                }
                result = std::max(result, deeper);
            }
        } else if (node.isSorted() && child.gettotalsize() >= 1) {
            // Folded into the small-items sector, which is drawn on this ring.
            if (level == m_nSubLevels) {
                return level;
            }
            // Every later ordinary child is smaller, and the special children
            // at the end are drawn on this same ring: nothing deeper follows.
            return std::max(result, level);
        }
    }
    return result;
}

bool RadialController::CanDrawItem(const FileSystemItem& node, int level) const {
    if (node.getParent() == nullptr || node.isSpecial()) {
        return true;
    }
    if (m_lTotalSize <= 0) {
        return false;
    }
    double arc = 2 * M_PI * m_fullRadius * RingRadii::F(m_nSubLevels, level) *
                 static_cast<double>(node.gettotalsize()) / static_cast<double>(m_lTotalSize);
    return arc >= kMinimumArc;
}

// ---- Sector geometry

double RadialController::radiusOf(int level) const {
    return m_fullRadius * RingRadii::F(m_nSubLevels, level);
}

QPointF RadialController::pointAt(double radius, double fraction) const {
    double theta = gReferenceAngle - 2 * M_PI * fraction;
    // Screen y grows downwards.
    return {m_Center.x() + radius * std::cos(theta), m_Center.y() - radius * std::sin(theta)};
}

// Arcs are laid down as short chords, a few pixels each: the rasteriser fills
// polygons much faster than it flattens curves, and no difference shows.
void RadialController::appendArc(QPainterPath& path, double radius, double from, double to) const {
    const double length = std::abs(to - from) * 2 * M_PI * radius;
    const int steps = std::clamp(static_cast<int>(std::ceil(length / 3.0)), 1, 720);
    for (int i = 1; i <= steps; ++i) {
        path.lineTo(pointAt(radius, from + (to - from) * i / steps));
    }
}

void RadialController::appendRingSector(QPainterPath& path, double inner, double outer,
                                        double start, double span) const {
    path.moveTo(pointAt(inner, start));
    appendArc(path, inner, start, start + span);
    path.lineTo(pointAt(outer, start + span));
    appendArc(path, outer, start + span, start);
    path.closeSubpath();
}

bool RadialController::FillSectorPath(QPainterPath& path, int level, double start, double delta,
                                      double) const {
    if (std::isnan(delta)) {
        return false;
    }
    if (level >= 1) {
        appendRingSector(path, radiusOf(level - 1), radiusOf(level), start, delta);
        return true;
    }
    const double r = radiusOf(0);
    if (delta >= 1.0) {
        path.addEllipse(m_Center, r, r);
        return true;
    }
    path.moveTo(m_Center);
    path.lineTo(pointAt(r, start));
    appendArc(path, r, start, start + delta);
    path.closeSubpath();
    return true;
}

QRectF RadialController::getCircleBoundRect() const {
    return {m_Center.x() - m_fullRadius, m_Center.y() - m_fullRadius, 2 * m_fullRadius,
            2 * m_fullRadius};
}

std::int64_t RadialController::getUnscannedScanningVolumeSize() const {
    FolderSystemItem* folder = asFolder(m_pRoot);
    if (folder == nullptr) {
        return 0;
    }
    return std::max<std::int64_t>(folder->getOccSize() - folder->gettotalsize(), 0);
}

// ---- Finding a node's sector

std::int64_t RadialController::getPrevSizesOfItem(const FileSystemItem* node,
                                                  const FileSystemItem* stop) const {
    std::int64_t sum = 0;
    while (node != nullptr && node != stop && !node->isVol()) {
        const FolderSystemItem* parent = node->getParent();
        if (parent == nullptr) {
            break;
        }
        for (const ItemRef& sibling : parent->childrenArray()) {
            if (sibling.get() == node) {
                break;
            }
            sum += sibling->gettotalsize();
        }
        node = parent;
    }
    return sum;
}

double RadialController::angleForItem(const FileSystemItem* node) const {
    if (node == nullptr || node->getParent() == nullptr || m_lTotalSize <= 0) {
        return 0;
    }
    std::int64_t before = 0;
    for (const ItemRef& sibling : node->getParent()->childrenArray()) {
        if (sibling.get() == node) {
            return static_cast<double>(before) / static_cast<double>(m_lTotalSize);
        }
        before += sibling->gettotalsize();
    }
    return 0;
}

bool RadialController::fillSectorItem(SectorItem& sector, FileSystemItem* node) const {
    sector.cleanSector();
    if (node == nullptr || m_pRoot == nullptr) {
        return false;
    }
    if (node == m_pRoot.get()) {
        sector.m_pItem = node;
        return true;
    }
    if (m_lTotalSize == 0) {
        return false;
    }
    int depth = node->calcLevelsToParent(m_pRoot.get());
    if (depth < 0) {
        return false;
    }
    // Below the outermost ring, the ancestor on that ring stands for the node.
    while (depth > m_nSubLevels && node->getParent() != nullptr) {
        node = node->getParent();
        --depth;
    }
    sector.m_pItem = node;
    sector.m_nSubLevel = depth;
    sector.m_dSkAngle = static_cast<double>(getPrevSizesOfItem(node, m_pRoot.get())) /
                        static_cast<double>(m_lTotalSize);
    return true;
}

QRectF RadialController::getBoundsOfItem(const SectorItem& sector) const {
    if (sector.m_nSubLevel > m_nSubLevels) {
        return {};
    }
    QPainterPath path;
    if (sector.marker) {
        double occupied = 1.0;
        if (rootIsUnscannedVolume() && mTarget->getsize() > 0) {
            occupied = static_cast<double>(mTarget->getOccSize()) /
                       static_cast<double>(mTarget->getsize());
        }
        switch (*sector.marker) {
            case SectorMarker::Target: {
                const double r = radiusOf(0);
                return {m_Center.x() - r, m_Center.y() - r, 2 * r, 2 * r};
            }
            case SectorMarker::Occupied:
                FillSectorPath(path, 1, 0, occupied, 0.2);
                break;
            case SectorMarker::Free:
                FillSectorPath(path, 1, occupied, 1 - occupied, 0.2);
                break;
            case SectorMarker::Unscanned: {
                FolderSystemItem* folder = asFolder(m_pRoot);
                double counted = folder != nullptr && folder->getOccSize() > 0
                                     ? static_cast<double>(folder->gettotalsize()) /
                                           static_cast<double>(folder->getOccSize())
                                     : 0;
                FillSectorPath(path, 1, counted, 1 - counted, 0.2);
                break;
            }
        }
        return path.boundingRect();
    }
    if (sector.m_nSubLevel == 0) {
        double r = radiusOf(0);
        return {m_Center.x() - r, m_Center.y() - r, 2 * r, 2 * r};
    }
    if (sector.m_pItem == nullptr || m_lTotalSize <= 0) {
        return {};
    }
    double delta =
        static_cast<double>(sector.m_pItem->gettotalsize()) / static_cast<double>(m_lTotalSize);
    FillSectorPath(path, sector.m_nSubLevel, sector.m_dSkAngle, delta, 0.2);
    return path.boundingRect();
}

}  // namespace korvex
