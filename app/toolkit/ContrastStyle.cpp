#include "app/toolkit/ContrastStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace korvex {

namespace {

void drawCheckBox(const QStyleOption& option, QPainter& painter) {
    const QPalette& palette = option.palette;
    const bool checked = (option.state & QStyle::State_On) != 0;
    const bool partly = (option.state & QStyle::State_NoChange) != 0;
    const bool enabled = (option.state & QStyle::State_Enabled) != 0;
    // A square in the middle of the given rectangle, on whole pixels plus a
    // half so that the one-pixel border stays sharp.
    const int side = std::min(option.rect.width(), option.rect.height()) - 2;
    if (side < 6) {
        return;
    }
    const QRectF box(option.rect.x() + (option.rect.width() - side) / 2 + 0.5,
                     option.rect.y() + (option.rect.height() - side) / 2 + 0.5, side - 1, side - 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!enabled) {
        painter.setOpacity(0.45);
    }
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    if (checked || partly) {
        painter.setPen(QPen(accent, 1.0));
        painter.setBrush(accent);
        painter.drawRoundedRect(box, 3, 3);
        QPen mark(palette.color(QPalette::Active, QPalette::HighlightedText), side / 7.0);
        mark.setCapStyle(Qt::RoundCap);
        mark.setJoinStyle(Qt::RoundJoin);
        painter.setPen(mark);
        painter.setBrush(Qt::NoBrush);
        if (partly && !checked) {
            const double y = box.center().y();
            painter.drawLine(QPointF(box.left() + side * 0.25, y),
                             QPointF(box.right() - side * 0.25, y));
        } else {
            QPainterPath tick;
            tick.moveTo(box.left() + box.width() * 0.24, box.top() + box.height() * 0.52);
            tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.71);
            tick.lineTo(box.left() + box.width() * 0.77, box.top() + box.height() * 0.31);
            painter.drawPath(tick);
        }
    } else {
        painter.setPen(QPen(palette.color(QPalette::Active, QPalette::PlaceholderText), 1.2));
        painter.setBrush(palette.color(QPalette::Active, QPalette::Base));
        painter.drawRoundedRect(box, 3, 3);
    }
    painter.restore();
}

}  // namespace

ContrastStyle::ContrastStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void ContrastStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    if ((element == PE_IndicatorCheckBox || element == PE_IndicatorItemViewItemCheck) &&
        option != nullptr && painter != nullptr) {
        drawCheckBox(*option, *painter);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace korvex
