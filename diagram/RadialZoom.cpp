// Zooming into a folder and back out: the zoom node's subtree moves from its
// place in the outer layout to a layout of its own (or back) while the outer
// diagram fades.

#include "diagram/DiagramColors.h"
#include "diagram/RadialController.h"
#include "diagram/RingRadii.h"
#include "platform/fs/FileDates.h"

#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace korvex {

using namespace std::chrono_literals;

namespace {

constexpr double kMinimumArc = 3.0;  // points, as for the still diagram

double lerp(double from, double to, double p) {
    return from + (to - from) * p;
}

QColor mix(const QColor& from, const QColor& to, double p) {
    return QColor::fromRgbF(static_cast<float>(lerp(from.redF(), to.redF(), p)),
                            static_cast<float>(lerp(from.greenF(), to.greenF(), p)),
                            static_cast<float>(lerp(from.blueF(), to.blueF(), p)),
                            static_cast<float>(lerp(from.alphaF(), to.alphaF(), p)));
}

}  // namespace

void RadialController::goTo(const SectorItem& sector) {
    if (sector.m_pItem != nullptr && sector.m_pItem->isDirectory() && sector.m_pItem != m_pRoot) {
        startDrillInAnimation(sector.m_pItem, sector.m_nSubLevel, sector.m_dSkAngle);
    }
}

void RadialController::moveUpTo(const ItemRef& node) {
    if (node != nullptr && node != m_pRoot) {
        startDrillOutAnimation(node);
    }
}

void RadialController::startDrillInAnumation(const ItemRef& node) {
    if (node == nullptr) {
        return;
    }
    startDrillInAnimation(node, 1, angleForItem(node.get()));
}

void RadialController::startDrillInAnimation(const ItemRef& node, int level, double start) {
    if (node == nullptr || m_pRoot == nullptr) {
        return;
    }
    m_RDAnimation.stop();
    m_nDrillAnimating = 1;
    m_fDrillAnimation = 0;
    m_pDrillingRoot = node;
    mDrillTarget = node;
    m_lDrTotalSize = std::max<std::int64_t>(node->gettotalsize(), 1);
    // The rings the node will have as the root, measured as the still
    // diagram measures them once it is.
    const std::int64_t total = m_lTotalSize;
    const int rings = m_nSubLevels;
    m_lTotalSize = m_lDrTotalSize;
    int n = std::min(node->getChildDepth(), RingRadii::kMaxDrawnRings);
    m_nSubLevels = n;
    while (n > 0 && getMaxVisibleSublevelOfItem(*node, 1) < n) {
        m_nSubLevels = --n;
    }
    m_nDrSubLevels = n;
    m_lTotalSize = total;
    m_nSubLevels = rings;
    m_nDrRootSubLevel = level;
    m_dDrRootSkAngle = start;
    const double share =
        m_lTotalSize > 0 ? static_cast<double>(m_lDrTotalSize) / static_cast<double>(m_lTotalSize)
                         : 1.0;
    m_fDrRootHueColor = static_cast<float>(DiagramColors::hueFor(start, share));
    m_pCurPointedSector.cleanSector();
    mSelectedSectors.clear();
    m_RDAnimation.start(
        200ms, [this](double value) { updateDrillAnimationValue(value); },
        [this] { finishDrill(); });
    needsDisplay();
}

void RadialController::startDrillOutAnimation(const ItemRef& target) {
    if (target == nullptr || m_pRoot == nullptr) {
        return;
    }
    const ItemRef oldRoot = m_pRoot;
    const int levels = oldRoot->calcLevelsToParent(target.get());
    if (target->gettotalsize() <= 0 || !oldRoot->isDir() || levels < 1) {
        setRoot(target, true);
        if (mListsRoot) {
            mListsRoot(m_pRoot);
        }
        needsDisplay();
        return;
    }
    const int rings = m_nSubLevels;
    setRoot(target, true, false);
    m_nDrRootSubLevel = levels;
    m_nDrillAnimating = 2;
    m_fDrillAnimation = 0;
    m_pDrillingRoot = oldRoot;
    m_lDrTotalSize = std::max<std::int64_t>(oldRoot->gettotalsize(), 1);
    m_nDrSubLevels = rings;
    const double total = static_cast<double>(std::max<std::int64_t>(m_lTotalSize, 1));
    m_dDrRootSkAngle = static_cast<double>(getPrevSizesOfItem(oldRoot.get(), target.get())) / total;
    m_fDrRootHueColor = static_cast<float>(
        DiagramColors::hueFor(m_dDrRootSkAngle, static_cast<double>(m_lDrTotalSize) / total));
    mSelectedSectors.clear();
    if (mListsRoot) {
        mListsRoot(m_pRoot);
    }
    m_RDAnimation.start(
        200ms, [this](double value) { updateDrillAnimationValue(value); },
        [this] { finishDrill(); });
    needsDisplay();
}

void RadialController::updateDrillAnimationValue(double value) {
    m_fDrillAnimation = value;
    needsDisplay();
}

// A zoom overtaken by another root (another target was chosen) must not
// end on its folder of the tree no longer shown.
void RadialController::abandonDrill() {
    if (m_nDrillAnimating == 0) {
        return;
    }
    m_RDAnimation.stop();
    m_nDrillAnimating = 0;
    m_fDrillAnimation = 0;
    m_pDrillingRoot.reset();
    mDrillTarget.reset();
}

void RadialController::stopDrillAnimation() {
    if (m_nDrillAnimating != 0) {
        m_RDAnimation.finish();
    }
}

void RadialController::finishDrill() {
    const bool zoomedIn = m_nDrillAnimating == 1;
    m_nDrillAnimating = 0;
    m_fDrillAnimation = 0;
    m_pDrillingRoot.reset();
    if (zoomedIn && mDrillTarget != nullptr) {
        const ItemRef target = std::move(mDrillTarget);
        setRoot(target, true);
        if (mListsRoot) {
            mListsRoot(m_pRoot);
        }
    } else {
        // The lists took the new root when the zoom out began; whatever they
        // changed since is shown once they settled.
        redrawLater();
    }
    needsDisplay();
}

// ---- Drawing

double RadialController::drillOuterRadius(int ring) const {
    // A ring beyond the outer layout's last one starts at its outer edge.
    const int level = std::min(m_nDrRootSubLevel + ring, m_nSubLevels);
    return m_fullRadius * RingRadii::F(m_nSubLevels, level);
}

double RadialController::drillInnerRadius(int ring) const {
    return m_fullRadius * RingRadii::F(m_nDrSubLevels, ring);
}

void RadialController::drawDrillAnimation(QPainter& painter, const QRectF& dirty) {
    const double p = m_fDrillAnimation;
    // e runs from the outer layout (0) to the node's own layout (1).
    const double e = m_nDrillAnimating == 1 ? p : 1 - p;
    m_fDrawAlpha = m_nDrillAnimating == 1 ? 1 - p : p;
    const ItemRef zoomNode = m_pDrillingRoot;
    if (zoomNode != nullptr) {
        // Laid out first: the still pass casts the shadow of both figures.
        mDrillRadii.clear();
        for (int ring = 0; ring <= m_nDrSubLevels; ++ring) {
            mDrillRadii.push_back(lerp(drillOuterRadius(ring), drillInnerRadius(ring), e));
        }
        mDrillRaster.begin(m_Center, mDrillRadii, DiagramColors::shared().cLineColor, 0.2);
        drawDrillSubtree(*zoomNode, 1, 0.0, e);
        mDrillOutline = DiagramShadow::Outline{mDrillRaster.outline(DiagramShadow::kParts), 1.0};
    }
    m_pDrillingRoot.reset();  // the still pass draws the outer diagram only
    DrawRadialSructure(painter, dirty);
    m_pDrillingRoot = zoomNode;
    m_fDrawAlpha = 1.0;
    mDrillOutline.reset();
    if (zoomNode == nullptr) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(m_Center);
    painter.rotate(-(referenceAngle() - M_PI / 2) * 180 / M_PI);
    painter.translate(-m_Center);
    mDrillRaster.draw(painter, dirty);
    painter.restore();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawDrillingRoot(painter, e);
    painter.restore();
}

// `start` is a fraction of the zoom node; sectors are placed between their
// outer and their own layout by e.
void RadialController::drawDrillSubtree(FileSystemItem& node, int ring, double start, double e) {
    if (ring > m_nDrSubLevels || ring >= static_cast<int>(mDrillRadii.size())) {
        return;
    }
    const double total = static_cast<double>(m_lDrTotalSize);
    const double outerShare = m_lTotalSize > 0 ? total / static_cast<double>(m_lTotalSize) : 1.0;
    const double radius = mDrillRadii[static_cast<std::size_t>(ring)];
    // The colour moves from the sector's ring in the outer layout to its ring
    // in the node's own, so that neither end of the zoom changes it at once.
    const int outerRing = std::min(m_nDrRootSubLevel + ring, RingRadii::kMaxRings);
    auto place = [&](double from, double span, int flag) {
        const double s = lerp(m_dDrRootSkAngle + from * outerShare, from, e);
        const double d = lerp(span * outerShare, span, e);
        const DiagramColors& colors = DiagramColors::shared();
        mDrillRaster.addSector(ring, s, d,
                               mix(colors.sectorFill(flag, outerRing, s, d, 1.0),
                                   colors.sectorFill(flag, ring, s, d, 1.0), e));
        return d;
    };
    std::int64_t drawnSize = 0;
    for (std::size_t i = 0, count = node.numberOfChildren(); i < count; ++i) {
        FileSystemItem& child = *node.childAtIndex(i);
        const std::int64_t size = child.gettotalsize();
        const double span = static_cast<double>(size) / total;
        const double current = lerp(span * outerShare, span, e);
        if (current * 2 * M_PI * radius < kMinimumArc && !child.isSpecial()) {
            if (node.isSorted() && size >= 1) {
                // The rest is smaller still: one small-items sector stands for it.
                const double rest = static_cast<double>(node.gettotalsize() - drawnSize) / total;
                place(start, rest, ColorSmallItems);
                return;
            }
            start += span;
            continue;
        }
        const int flag = child.isTopCollected()    ? ColorCollected
                         : child.isTopTrashFlag()  ? ColorTrash
                         : child.isTopHiddenFlag() ? ColorHidden
                         : child.isPurgeable()     ? ColorPurgeable
                                                   : ColorNormal;
        place(start, span, flag);
        if (child.isDirectory()) {
            drawDrillSubtree(child, ring + 1, start, e);
        }
        drawnSize += size;
        start += span;
    }
}

void RadialController::DrawDrillingRoot(QPainter& painter, double e) {
    const FileSystemItem& node = *m_pDrillingRoot;
    const DiagramColors& colors = DiagramColors::shared();
    const double outerShare =
        m_lTotalSize > 0 ? static_cast<double>(m_lDrTotalSize) / static_cast<double>(m_lTotalSize)
                         : 1.0;
    const double inner =
        lerp(m_fullRadius * RingRadii::F(m_nSubLevels, m_nDrRootSubLevel - 1), 0, e);
    const double outer = lerp(drillOuterRadius(0), drillInnerRadius(0), e);
    const double start = lerp(m_dDrRootSkAngle, 0, e);
    const double span = lerp(outerShare, 1, e);
    QPainterPath path;
    if (span >= 0.999) {
        path.addEllipse(m_Center, outer, outer);
        if (inner > 0.5) {
            path.addEllipse(m_Center, inner, inner);
        }
    } else {
        appendRingSector(path, inner, outer, start, span);
    }
    QColor fill;
    if (node.isTopCollected()) {
        fill = colors.cCollectedColor;
    } else if (node.isTopTrashFlag()) {
        fill = colors.cTrashColor;
    } else if (node.isTopHiddenFlag()) {
        fill = colors.cHiddenColor;
    } else {
        const QColor root = colors.rootColor.toHsv();
        const int level = m_nDrRootSubLevel;
        fill = QColor::fromHsvF(
            static_cast<float>(lerp(m_fDrRootHueColor, std::max(0.0f, root.hsvHueF()), e)),
            static_cast<float>(lerp(colors.saturation(level), root.hsvSaturationF(), e)),
            static_cast<float>(lerp(colors.brightness(level), root.valueF(), e)));
    }
    painter.fillPath(path, fill);
    painter.strokePath(path, QPen(colors.cLineColor, 0.5));
    // While the node is (nearly) the centre disc, the last tenth of a zoom in
    // and the first of a zoom out, the still disc and the name fade in over
    // it: the still picture takes over without a jump.
    const double stillAlpha = std::min((e - 0.9) * 10, 1.0);
    if (stillAlpha > 0) {
        DrawRootDisc(painter, &node, drillInnerRadius(0), stillAlpha, mDrillDisc);
        DrawDiscLabel(painter, &node, platform::displayNameAtPath(node.fullPath()),
                      drillInnerRadius(0), false, stillAlpha);
    }
}

}  // namespace korvex
