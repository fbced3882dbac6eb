#include "diagram/volumes/VolumeRowDelegate.h"

#include "diagram/volumes/RowScanButton.h"
#include "diagram/volumes/SidebarPalette.h"
#include "diagram/volumes/TargetIcons.h"
#include "diagram/volumes/TargetTexts.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QtMath>

#include <cmath>

namespace korvex {

namespace {
constexpr int kSideInset = 6;
constexpr int kContentLeft = 14;
constexpr int kIconSize = 24;
constexpr int kButtonSize = 20;
constexpr int kBarHeight = 3;

// Names may hold line breaks or other control characters; a row shows one line.
QString oneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control) {
            c = u' ';
        }
    }
    return line;
}

QFont secondaryFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

QFont headerFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.78);
    font.setWeight(QFont::DemiBold);
    font.setCapitalization(QFont::AllUppercase);
    font.setLetterSpacing(QFont::PercentageSpacing, 106);
    return font;
}

void drawTriangle(QPainter* painter, const QRectF& box, const QColor& color) {
    QPainterPath path;
    const QPointF c = box.center();
    const double h = box.height() * 0.36;
    path.moveTo(c.x() - h * 0.45, c.y() - h * 0.6);
    path.lineTo(c.x() + h * 0.65, c.y());
    path.lineTo(c.x() - h * 0.45, c.y() + h * 0.6);
    path.closeSubpath();
    painter->fillPath(path, color);
}

void drawRescanArrow(QPainter* painter, const QRectF& box, const QColor& color) {
    const double radius = box.width() * 0.27;
    const QPointF c = box.center();
    const QRectF ring(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    constexpr double kStart = 70.0;
    constexpr double kSpan = 280.0;
    painter->setPen(QPen(color, 1.5, Qt::SolidLine, Qt::FlatCap));
    painter->setBrush(Qt::NoBrush);
    painter->drawArc(ring, static_cast<int>(kStart * 16), static_cast<int>(kSpan * 16));
    // A head at the end of the arc, pointing on along it (counter-clockwise).
    const double end = qDegreesToRadians(kStart + kSpan);
    const QPointF onArc = c + QPointF(radius * std::cos(end), -radius * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF outward(std::cos(end), -std::sin(end));
    QPainterPath head;
    head.moveTo(onArc + along * 3.0);
    head.lineTo(onArc - along * 1.0 + outward * 3.0);
    head.lineTo(onArc - along * 1.0 - outward * 3.0);
    head.closeSubpath();
    painter->setPen(Qt::NoPen);
    painter->fillPath(head, color);
}

void drawCheck(QPainter* painter, const QRectF& box, const QColor& color) {
    QPen pen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    QPainterPath path;
    path.moveTo(c + QPointF(-3.6, 0.2));
    path.lineTo(c + QPointF(-1.0, 2.8));
    path.lineTo(c + QPointF(3.8, -2.6));
    painter->drawPath(path);
}
}  // namespace

VolumeRowDelegate::VolumeRowDelegate(const VolumesTableController& controller, QObject* parent)
    : QStyledItemDelegate(parent), mController(controller) {}

QSize VolumeRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    int height = mController.rowHeight(index.row()) + VolumesTableController::kRowSpacing;
    return {std::max(option.rect.width(), 120), height};
}

QRect VolumeRowDelegate::scanButtonRect(const QRect& rowRect) {
    const int x = rowRect.right() - kSideInset - 6 - kButtonSize + 1;
    const int y = rowRect.top() + (rowRect.height() - kButtonSize) / 2;
    return {x, y, kButtonSize, kButtonSize};
}

void VolumeRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const VolumeRow* row = mController.getItemByRow(index.row());
    if (row == nullptr) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    QStyleOptionViewItem rowOption = option;
    // The spacing between rows is left blank.
    rowOption.rect.setHeight(option.rect.height() - VolumesTableController::kRowSpacing);
    if (row->isGroup()) {
        paintHeader(painter, rowOption, *row->group);
    } else {
        paintEntry(painter, rowOption, *row->entry);
    }
    painter->restore();
}

void VolumeRowDelegate::paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                    const VolumeItemGrop& group) const {
    SidebarPalette colors(option.palette);
    painter->setFont(headerFont(option.font));
    painter->setPen(colors.muted);
    QRect textRect = option.rect.adjusted(kContentLeft, 0, -kContentLeft, 0);
    QString title = painter->fontMetrics().elidedText(QString::fromStdString(group.groupName),
                                                      Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignBottom, title);
}

void VolumeRowDelegate::paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                                   const TopLevelItem& entry) const {
    SidebarPalette colors(option.palette);
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = option.state & QStyle::State_HasFocus ||
                         (option.widget != nullptr && option.widget->hasFocus());
    const bool hovered = rect.contains(mPointer);

    QRectF background = QRectF(rect).adjusted(kSideInset, 0, -kSideInset, 0);
    QColor ink = colors.text;
    QColor subInk = colors.muted;
    QColor accent = colors.accent;
    if (selected) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(focused ? colors.selection : colors.inactiveSelection);
        painter->drawRoundedRect(background, 6, 6);
        if (focused) {
            ink = colors.selectionText;
            subInk = SidebarPalette::blend(colors.selectionText, colors.selection, 0.78);
            accent = colors.selectionText;
        }
    } else if (hovered) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(colors.hover);
        painter->drawRoundedRect(background, 6, 6);
    }

    const QRect iconRect(rect.left() + kContentLeft, rect.top() + (rect.height() - kIconSize) / 2,
                         kIconSize, kIconSize);
    iconForTargetKind(targetKindOf(entry, mController.homeFolder())).paint(painter, iconRect);

    const QRect button = scanButtonRect(rect);
    const int textLeft = iconRect.right() + 10;
    const int textWidth = button.left() - 6 - textLeft;
    const QFont nameFont = option.font;
    const QFont subFont = secondaryFont(option.font);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics subMetrics(subFont);
    const bool withBar = entry.isVol();
    const int block = nameMetrics.height() + subMetrics.height() + (withBar ? kBarHeight + 2 : 0);
    int y = rect.top() + (rect.height() - block) / 2;

    painter->setFont(nameFont);
    painter->setPen(ink);
    painter->drawText(
        QRect(textLeft, y, textWidth, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        nameMetrics.elidedText(oneLine(entryTitle(entry)), Qt::ElideMiddle, textWidth));
    y += nameMetrics.height();
    painter->setFont(subFont);
    painter->setPen(subInk);
    painter->drawText(
        QRect(textLeft, y, textWidth, subMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        subMetrics.elidedText(oneLine(entrySubtitle(entry)), Qt::ElideMiddle, textWidth));
    y += subMetrics.height();
    if (withBar) {
        QRectF track(textLeft, y + 1, textWidth, kBarHeight);
        painter->setPen(Qt::NoPen);
        painter->setBrush(selected && focused
                              ? SidebarPalette::blend(colors.selectionText, colors.selection, 0.3)
                              : colors.track);
        painter->drawRoundedRect(track, kBarHeight / 2.0, kBarHeight / 2.0);
        const double used = usedFraction(entry);
        // Nearly full volumes show in a warning colour.
        QColor fill = used > 0.9 && !(selected && focused) ? QColor(0xd9, 0x4a, 0x3d) : accent;
        if (used > 0) {
            QRectF bar = track;
            bar.setWidth(std::max(track.height(), track.width() * used));
            painter->setBrush(fill);
            painter->drawRoundedRect(bar, kBarHeight / 2.0, kBarHeight / 2.0);
        }
    }
    paintScanControl(painter, button, entry, hovered, ink, accent);
}

void VolumeRowDelegate::paintScanControl(QPainter* painter, const QRect& rect,
                                         const TopLevelItem& entry, bool rowHovered,
                                         const QColor& ink, const QColor& accent) const {
    const QRectF box = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const std::int64_t state = entry.scanningState();
    const bool overButton = rect.contains(mPointer);
    if (rowShowsScannedMark(state, rowHovered)) {
        QColor halo = accent;
        halo.setAlphaF(0.16f);
        painter->setPen(Qt::NoPen);
        painter->setBrush(halo);
        painter->drawEllipse(box.adjusted(1, 1, -1, -1));
        drawCheck(painter, box, accent);
        return;
    }
    if (overButton) {
        QColor pressed = ink;
        pressed.setAlphaF(0.12f);
        painter->setPen(Qt::NoPen);
        painter->setBrush(pressed);
        painter->drawEllipse(box);
    }
    switch (rowScanActionFor(state)) {
        case RowScanAction::Start: {
            QColor ring = ink;
            ring.setAlphaF(0.45f);
            painter->setPen(QPen(ring, 1.2));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(box.adjusted(1.5, 1.5, -1.5, -1.5));
            drawTriangle(painter, box, ink);
            break;
        }
        case RowScanAction::Stop: {
            QColor ring = ink;
            ring.setAlphaF(0.2f);
            const QRectF spinner = box.adjusted(1.5, 1.5, -1.5, -1.5);
            painter->setPen(QPen(ring, 1.8));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(spinner);
            painter->setPen(QPen(accent, 1.8, Qt::SolidLine, Qt::RoundCap));
            painter->drawArc(spinner, (90 - mSpinnerPhase * 30) * 16, 100 * 16);
            const double side = box.width() * 0.3;
            QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
            painter->setPen(Qt::NoPen);
            painter->setBrush(ink);
            painter->drawRoundedRect(square, 1.2, 1.2);
            break;
        }
        case RowScanAction::Rescan:
            drawRescanArrow(painter, box, ink);
            break;
    }
}

QString VolumeRowDelegate::tooltipAt(const QModelIndex& index, const QRect& rowRect,
                                     const QPoint& pos) const {
    const VolumeRow* row = mController.getItemByRow(index.row());
    if (row == nullptr || row->isGroup() || !scanButtonRect(rowRect).contains(pos)) {
        return {};
    }
    return QString::fromStdString(rowScanTooltip(rowScanActionFor(row->entry->scanningState())));
}

bool VolumeRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event != nullptr && event->type() == QEvent::ToolTip) {
        QString tip = tooltipAt(index, option.rect, event->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace korvex
