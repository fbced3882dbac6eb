// The draw pass of the sunburst: rings of sectors, the occupied and free
// space sectors, the root disc and its label.

#include "diagram/DiagramColors.h"
#include "diagram/RadialController.h"
#include "platform/fs/FileDates.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

namespace korvex {

namespace {

constexpr double kSectorLineWidth = 0.2;
// How far the root disc's rim reaches past its radius.
constexpr double kRootRim = 3;

const DiagramColors& colors() {
    return DiagramColors::shared();
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

// The gradients run from top to bottom of the area they fill (angle 270°).
QLinearGradient topToBottom(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.center().x(), rect.top(), rect.center().x(), rect.bottom());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QColor lineVariant(const QColor& fill) {
    return QColor::fromHsvF(fill.hsvHueF(), std::min(1.0f, fill.hsvSaturationF() * 1.5f),
                            fill.valueF() * 0.9f);
}

// The disc with its rim, the rim's shadow and, for an ordinary root, its
// inner shading.
void paintRootDisc(QPainter& painter, const QRectF& disc, const std::array<QColor, 4>& colours,
                   bool ordinary, double alpha) {
    const auto& [fill1, fill2, line1, line2] = colours;
    const QPointF center = disc.center();
    const double r = disc.width() / 2;
    const QRectF rim = disc.adjusted(-kRootRim, -kRootRim, kRootRim, kRootRim);
    // A soft shadow under the rim (blur 5, slightly below), as one radial fade.
    constexpr double kShadowBlur = 5;
    const double shadowRadius = r + kRootRim + kShadowBlur;
    QRadialGradient shadow(center + QPointF(0, 1), shadowRadius);
    shadow.setColorAt((r + kRootRim - kShadowBlur) / shadowRadius,
                      QColor(0, 0, 0, static_cast<int>(60 * alpha)));
    shadow.setColorAt(1.0, Qt::transparent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(center + QPointF(0, 1), shadowRadius, shadowRadius);
    painter.setPen(QPen(withAlpha(line1, alpha), 6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(disc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(topToBottom(rim, withAlpha(line1, alpha), withAlpha(line2, alpha)));
    painter.drawEllipse(rim);
    painter.setBrush(topToBottom(disc, withAlpha(fill1, alpha), withAlpha(fill2, alpha)));
    painter.drawEllipse(disc);
    if (ordinary) {
        QRadialGradient shading(center, r);
        QColor deep("#0E508A");
        shading.setColorAt(0.0, Qt::transparent);
        shading.setColorAt(0.7, withAlpha(deep, 0.3 * alpha));
        shading.setColorAt(1.0, withAlpha(deep, 0.7 * alpha));
        painter.setBrush(shading);
        painter.drawEllipse(disc);
    }
}

int colorFlagFor(const FileSystemItem& child, bool collected, bool hidden, bool trash) {
    if (collected) {
        return ColorCollected;
    }
    if (trash) {
        return ColorTrash;
    }
    if (hidden || child.isInaccessible()) {
        return ColorHidden;
    }
    if (child.isPurgeable()) {
        return ColorPurgeable;
    }
    if (child.isUnscanned()) {
        return ColorUnscanned;
    }
    return ColorNormal;
}

}  // namespace

void RadialController::DrawRadialSructure(QPainter& painter, const QRectF& dirty) {
    if (m_pRoot == nullptr && mTarget == nullptr) {
        return;
    }
    if (m_nDrillAnimating != 0 && m_pDrillingRoot != nullptr) {
        drawDrillAnimation(painter, dirty);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    std::vector<double> radii;
    for (int level = 0; level <= m_nSubLevels; ++level) {
        radii.push_back(radiusOf(level));
    }
    mRaster.begin(m_Center, radii, withAlpha(colors().cLineColor, m_fDrawAlpha), kSectorLineWidth);
    mPaintedSectors.clear();
    if (mTarget != nullptr) {
        DrawNotScannedSectors();
    } else if (m_lTotalSize >= 1) {
        double end = DrawChildrenOf(*m_pRoot, 1, 0.0, m_pRoot->isTopCollected(),
                                    m_pRoot->isTopHiddenFlag(), m_pRoot->isTopTrashFlag());
        if (isRootBeingScanned() && end < 1.0) {
            DrawItemWithSubLevel(1, end, 1.0 - end, ColorOccupied);
        }
    }
    if (showsDropShadow()) {
        drawDropShadow(painter);
    }
    if (referenceAngle() != M_PI / 2) {
        // The raster lays sectors from 12 o'clock; a turned diagram turns it.
        painter.save();
        painter.translate(m_Center);
        painter.rotate(-(referenceAngle() - M_PI / 2) * 180 / M_PI);
        painter.translate(-m_Center);
        const QRectF turnedDirty = painter.transform().inverted().mapRect(dirty);
        mRaster.draw(painter, turnedDirty);
        painter.restore();
    } else {
        mRaster.draw(painter, dirty);
    }
    DrawPaintedSectors(painter);
    DrawRoot(painter);
    DrawRootLabel(painter);
    painter.restore();
}

void RadialController::drawDropShadow(QPainter& painter) {
    DiagramShadow::Outline figure{mRaster.outline(DiagramShadow::kParts), m_fDrawAlpha};
    const auto disc = static_cast<float>(radiusOf(0) + kRootRim);
    for (float& reach : figure.reach) {
        reach = std::max(reach, disc);
    }
    std::vector<DiagramShadow::Outline> outlines{std::move(figure)};
    if (mDrillOutline) {
        outlines.push_back(*mDrillOutline);
    }
    mShadow.draw(painter, m_Center, -(referenceAngle() - M_PI / 2) / (2 * M_PI),
                 std::move(outlines));
}

double RadialController::DrawChildrenOf(FileSystemItem& node, int level, double start,
                                        bool collected, bool hidden, bool trash) {
    const double total = static_cast<double>(m_lTotalSize);
    std::int64_t drawnSize = 0;
    bool foldedRest = false;
    const std::size_t count = node.numberOfChildren();
    for (std::size_t i = 0; i < count; ++i) {
        FileSystemItem& child = *node.childAtIndex(i);
        const std::int64_t size = child.gettotalsize();
        const double delta = static_cast<double>(size) / total;
        if (!CanDrawItem(child, level)) {
            if (node.isSorted() && size >= 1) {
                foldedRest = true;  // every later ordinary child is smaller still
                break;
            }
            start += delta;
            continue;
        }
        const bool childCollected = collected || child.isCollected();
        const bool childHidden = hidden || child.isHiddenFlag();
        const bool childTrash = trash || child.isTrashFlag();
        bool drawn = DrawItemWithSubLevel(
            level, start, delta, colorFlagFor(child, childCollected, childHidden, childTrash),
            &child);
        if (m_pCurPointedSector.m_pItem.get() == &child && m_pCurPointedSector.m_dSkAngle < start) {
            m_pCurPointedSector.m_dSkAngle = start;
        }
        drawnSize += size;
        if (drawn && child.isDir() && !child.isPack()) {
            DrawChildrenOf(child, level + 1, start, childCollected, childHidden, childTrash);
        }
        start += delta;
    }
    if (!foldedRest || !node.isDir()) {
        return start;
    }
    auto& folder = static_cast<FolderSystemItem&>(node);
    std::size_t firstSpecial = 0;
    const std::int64_t specialSize = folder.specialItemsSize(&firstSpecial);
    const double smallDelta =
        static_cast<double>(folder.getOccSize() - drawnSize - specialSize) / total;
    const int smallFlag = collected ? ColorCollected
                          : trash   ? ColorTrash
                          : hidden  ? ColorHidden
                                    : ColorSmallItems;
    DrawItemWithSubLevel(level, start, smallDelta, smallFlag);
    start += smallDelta;
    if (specialSize >= 1) {
        start = DrawSpecialChildrenOf(node, level, start, firstSpecial);
    }
    return start;
}

double RadialController::DrawSpecialChildrenOf(FileSystemItem& node, int level, double start,
                                               std::size_t startIndex) {
    const double total = static_cast<double>(m_lTotalSize);
    for (std::size_t i = startIndex, count = node.numberOfChildren(); i < count; ++i) {
        FileSystemItem& child = *node.childAtIndex(i);
        const double delta = static_cast<double>(child.gettotalsize()) / total;
        if (delta > 1.0) {
            break;
        }
        if (CanDrawItem(child, level)) {
            int flag = child.isUnscanned()      ? ColorUnscanned
                       : child.isInaccessible() ? ColorHidden
                       : child.isPurgeable()    ? ColorPurgeable
                                                : ColorNormal;
            DrawItemWithSubLevel(level, start, delta, flag);
            if (m_pCurPointedSector.m_pItem.get() == &child &&
                m_pCurPointedSector.m_dSkAngle < start) {
                m_pCurPointedSector.m_dSkAngle = start;
            }
        }
        start += delta;
    }
    return start;
}

bool RadialController::DrawItemWithSubLevel(int level, double start, double delta, int colorFlag,
                                            const FileSystemItem* node) {
    if (level < 1 || level > m_nSubLevels) {
        return false;  // this is what stops the recursion at the outermost ring
    }
    if (colorFlag == ColorUnscanned || colorFlag == ColorOccupied || colorFlag == ColorFree) {
        mPaintedSectors.push_back({level, start, delta, colorFlag});
        return true;
    }
    if (std::isnan(delta)) {
        return false;
    }
    QColor fill = colors().sectorFill(colorFlag, level, start, delta, m_fDrawAlpha);
    // A tint replaces the hue of what is neither collected nor special.
    const bool tintable =
        colorFlag == ColorNormal || colorFlag == ColorHidden || colorFlag == ColorSmallItems;
    if (mSectorTint && tintable) {
        if (std::optional<QColor> tint =
                mSectorTint(colorFlag == ColorSmallItems ? nullptr : node)) {
            fill = *tint;
            fill.setAlphaF(static_cast<float>(fill.alphaF() * m_fDrawAlpha));
        }
    }
    mRaster.addSector(level, start, delta, fill);
    return true;
}

// Striped and gradient sectors are few; they go over the rings, as the
// sector of a scan in progress is drawn last.
void RadialController::DrawPaintedSectors(QPainter& painter) {
    for (const PaintedSector& sector : mPaintedSectors) {
        if (sector.colorFlag == ColorFree) {
            DrawFreeSector(painter, sector.level, sector.start, sector.delta);
        } else {
            DrawOccupiedSector(painter, sector.level, sector.start, sector.delta, true);
        }
    }
}

bool RadialController::DrawOccupiedSector(QPainter& painter, int level, double start, double delta,
                                          bool drawLine) {
    const int pieces = std::max(static_cast<int>(std::floor(delta / 0.03)), 5);
    const double piece = delta / pieces;
    const bool unscannedFolder = rootIsUnscannedFolder();
    for (int j = 0; j < pieces; ++j) {
        const double p = start + j * piece;
        QPainterPath path;
        FillSectorPath(path, level, p, piece, 1.0);
        double x = start < 1.0 ? (p - start + piece / 2) / (1 - start) : 0;
        double h0 = unscannedFolder ? x : 0.8 * x + 0.3;
        double h = h0 < 0.3 ? h0 + 0.7 : h0 - 0.3;
        h = h - std::floor(h);
        QPen outline(withAlpha(colors().cLineColor, 0.1 * m_fDrawAlpha), 1.0);
        painter.strokePath(path, outline);
        painter.fillPath(path, QColor::fromHsvF(h, colors().saturation(3), colors().brightness(13),
                                                m_fDrawAlpha));
    }
    if (drawLine) {
        QPainterPath outline;
        if (delta >= 1.0) {
            double r = radiusOf(level);
            outline.addEllipse(m_Center, r, r);
        } else {
            FillSectorPath(outline, level, start, delta, 2.0);
        }
        QPen pen(withAlpha(colors().cLineFreeColor, m_fDrawAlpha), 2.0);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(outline, pen);
    }
    return true;
}

bool RadialController::DrawFreeSector(QPainter& painter, int level, double start, double delta) {
    QPainterPath path;
    FillSectorPath(path, level, start, delta, 2.0);
    painter.fillPath(path,
                     topToBottom(path.boundingRect(), withAlpha(colors().cFreeColor1, m_fDrawAlpha),
                                 withAlpha(colors().cFreeColor2, m_fDrawAlpha)));
    QPen pen(withAlpha(colors().cLineFreeColor, m_fDrawAlpha), 2.0);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(path, pen);
    return true;
}

void RadialController::DrawNotScannedSectors() {
    if (rootIsUnscannedFolder()) {
        DrawItemWithSubLevel(1, 0.0, 1.0, ColorOccupied);
        return;
    }
    double occupied = mTarget->getsize() > 0 ? static_cast<double>(mTarget->getOccSize()) /
                                                   static_cast<double>(mTarget->getsize())
                                             : 1.0;
    DrawItemWithSubLevel(1, 0.0, occupied, ColorOccupied);
    if (occupied < 1.0) {
        DrawItemWithSubLevel(1, occupied, 1.0 - occupied, ColorFree);
    }
}

void RadialController::DrawRoot(QPainter& painter) {
    DrawRootDisc(painter, m_pRoot.get(), radiusOf(0), m_fDrawAlpha, mRootDisc);
}

void RadialController::DrawRootDisc(QPainter& painter, const FileSystemItem* node, double r,
                                    double alpha, CachedPicture& cache) const {
    if (r <= 0) {
        return;
    }
    QColor fill1 = colors().rootColor;
    QColor fill2 = colors().rootColor;
    QColor line1 = colors().rootLineColor;
    QColor line2 = colors().rootLineColor;
    bool ordinary = false;
    if (node != nullptr && node->isTopCollected()) {
        fill1 = colors().cCollectedColor;
        fill2 = colors().cCollectedColor2;
    } else if (node != nullptr && node->isTopTrashFlag()) {
        fill1 = colors().cTrashColor;
        fill2 = colors().cTrashColor2;
    } else if (node != nullptr && node->isTopHiddenFlag()) {
        fill1 = colors().cHiddenColor;
        fill2 = colors().cHiddenColor2;
    } else {
        ordinary = true;
    }
    if (!ordinary) {
        line1 = lineVariant(fill1);
        line2 = lineVariant(fill2);
    }
    const QRectF disc(m_Center.x() - r, m_Center.y() - r, 2 * r, 2 * r);
    // The shadow reaches 8 beyond the disc and sits 1 below it.
    const QRectF bounds = disc.adjusted(-10, -10, 10, 10);
    std::vector<double> key{r,
                            m_Center.x(),
                            m_Center.y(),
                            alpha,
                            ordinary ? 1.0 : 0.0,
                            static_cast<double>(fill1.rgba()),
                            static_cast<double>(fill2.rgba()),
                            static_cast<double>(line1.rgba()),
                            static_cast<double>(line2.rgba())};
    cache.draw(painter, bounds, std::move(key), [&](QPainter& p) {
        paintRootDisc(p, disc, {fill1, fill2, line1, line2}, ordinary, alpha);
    });
}

void RadialController::DrawRootLabel(QPainter& painter) {
    const std::string name =
        mTarget != nullptr ? mTarget->getName() : platform::displayNameAtPath(rootPath());
    DrawDiscLabel(painter, m_pRoot.get(), name, radiusOf(0), isRootBeingScanned(), m_fDrawAlpha);
}

void RadialController::DrawDiscLabel(QPainter& painter, const FileSystemItem* node,
                                     const std::string& name, double r, bool scanning,
                                     double alpha) const {
    if (r <= 10 || alpha <= 0) {
        return;
    }
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    bool marked = node != nullptr &&
                  (node->isTopCollected() || node->isTopTrashFlag() || node->isTopHiddenFlag());
    QColor color = marked     ? QColor::fromHsvF(225 / 360.0, 0.46, 0.27)
                   : scanning ? QColor::fromRgbF(0.75f, 0.80f, 0.85f)
                              : QColor(Qt::white);
    QFont font = QGuiApplication::font();
    font.setPointSizeF(16);
    const double width = 2 * r - 20;
    QFontMetricsF metrics(font);
    while (metrics.horizontalAdvance(text) >= width && font.pointSizeF() > 11) {
        font.setPointSizeF(std::max(11.0, font.pointSizeF() - 1));
        metrics = QFontMetricsF(font);
    }
    QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    QRectF box(m_Center.x() - width / 2, m_Center.y() - r / 2, width, r);
    painter.setFont(font);
    if (!marked && !scanning) {
        painter.setPen(withAlpha(QColor("#0D2236"), 0.68 * alpha));
        painter.drawText(box.translated(0, 1.2), Qt::AlignCenter, shown);
    }
    painter.setPen(withAlpha(color, alpha));
    painter.drawText(box, Qt::AlignCenter, shown);
}

}  // namespace korvex
