// The outlines drawn over the diagram: the pointed sector and the sectors
// selected in the side lists.

#include "diagram/DiagramColors.h"
#include "diagram/RadialController.h"

#include <QPainter>

namespace korvex {

namespace {

// A soft dark halo under an outline, as a few widening translucent strokes.
void strokeWithShadow(QPainter& painter, const QPainterPath& path, double blur, QColor shadow,
                      double width) {
    for (int i = 3; i >= 1; --i) {
        QColor layer = shadow;
        layer.setAlphaF(static_cast<float>(shadow.alphaF() / (i + 1)));
        QPen pen(layer, width + blur * i / 3.0);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
    QPen pen(Qt::white, width);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(path, pen);
}

}  // namespace

QColor RadialController::focusFillFor(const SectorItem& sector, double span) const {
    const DiagramColors& colors = DiagramColors::shared();
    const FileSystemItem* node = sector.m_pItem.get();
    if (node == nullptr || node->isUnscanned() || sector.m_nSubLevel == 0) {
        return {};  // striped and root sectors keep their own drawing
    }
    if (node->isTopCollected()) {
        return colors.cCollectedColor2;
    }
    if (node->isTopTrashFlag()) {
        return colors.cTrashColor2;
    }
    if (node->isTopHiddenFlag() || node->isInaccessible()) {
        return colors.cHiddenColor2;
    }
    if (node->isPurgeable()) {
        return colors.cPurgeableColor;
    }
    const int level = sector.m_nSubLevel;
    return QColor::fromHsvF(static_cast<float>(DiagramColors::hueFor(sector.m_dSkAngle, span)),
                            static_cast<float>(0.75 * colors.saturation(level)),
                            static_cast<float>(colors.brightness(level)));
}

void RadialController::DrawFocusItem(QPainter& painter) {
    const SectorItem& sector = m_pCurPointedSector;
    if (sector.empty() || m_nDrillAnimating != 0 || sector.m_nSubLevel > m_nSubLevels) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor shadow = QColor::fromRgbF(0.7f, 0.7f, 0.7f, 0.8f);
    QPainterPath path;
    double occupied = 1.0;
    if (mTarget != nullptr && mTarget->isVol() && mTarget->getsize() > 0) {
        occupied =
            static_cast<double>(mTarget->getOccSize()) / static_cast<double>(mTarget->getsize());
    }
    if (sector.marker == SectorMarker::Free) {
        FillSectorPath(path, 1, occupied, 1 - occupied, 2.5);
        strokeWithShadow(painter, path, kFocusHalo, shadow, 2.5);
        painter.restore();
        return;
    }
    double span = 0;
    if (sector.marker == SectorMarker::Occupied) {
        span = occupied;
    } else if (sector.marker == SectorMarker::Unscanned) {
        span = 1.0 - sector.m_dSkAngle;
    } else if (sector.marker == SectorMarker::Target || sector.m_nSubLevel == 0) {
        span = 1.0;
    } else if (m_lTotalSize > 0) {
        span =
            static_cast<double>(sector.m_pItem->gettotalsize()) / static_cast<double>(m_lTotalSize);
    }
    FillSectorPath(path, sector.m_nSubLevel, sector.m_dSkAngle, span, 5.0);
    strokeWithShadow(painter, path, kFocusHalo, shadow, 2.5);
    if (QColor fill = focusFillFor(sector, span); fill.isValid()) {
        painter.fillPath(path, fill);
    }
    painter.restore();
}

void RadialController::DrawSelectedItem(QPainter& painter) {
    if (mSelectedSectors.empty() || isRootBeingScanned() || m_nDrillAnimating != 0 ||
        m_lTotalSize <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath drawable;
    QPainterPath folded;
    for (const SectorItem& sector : mSelectedSectors) {
        if (sector.m_pItem == nullptr || sector.m_nSubLevel > m_nSubLevels) {
            continue;
        }
        const double span =
            static_cast<double>(sector.m_pItem->gettotalsize()) / static_cast<double>(m_lTotalSize);
        QPainterPath& into = CanDrawItem(*sector.m_pItem, sector.m_nSubLevel) ? drawable : folded;
        FillSectorPath(into, sector.m_nSubLevel, sector.m_dSkAngle, span, 2.5);
    }
    painter.strokePath(folded, QPen(Qt::white, 2.5));
    strokeWithShadow(painter, drawable, 5, QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.5f), 2.5);
    painter.restore();
}

}  // namespace korvex
