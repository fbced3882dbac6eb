#include "browse/preview/PreviewImageView.h"

#include <QPainter>

namespace korvex {

PreviewImageView::PreviewImageView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(120, 90);
}

void PreviewImageView::setImage(QImage image) {
    mImage = std::move(image);
    update();
}

QRect PreviewImageView::imageRect() const {
    if (mImage.isNull()) {
        return {};
    }
    const QRect area = rect().adjusted(12, 12, -12, -12);
    QSize shown = mImage.size();
    if (shown.width() > area.width() || shown.height() > area.height()) {
        shown.scale(area.size(), Qt::KeepAspectRatio);
    } else if (shown.width() * 2 <= area.width() && shown.height() * 2 <= area.height()) {
        shown *= 2;  // small pictures would be lost in a large window
    }
    QRect target(QPoint(0, 0), shown.expandedTo(QSize(1, 1)));
    target.moveCenter(area.center());
    return target;
}

void PreviewImageView::paintEvent(QPaintEvent* /*event*/) {
    if (mImage.isNull()) {
        return;
    }
    QPainter painter(this);
    const QRect target = imageRect();
    if (mImage.hasAlphaChannel()) {
        const bool dark = palette().window().color().lightness() < 128;
        const QColor a = dark ? QColor(58, 58, 62) : QColor(238, 238, 240);
        const QColor b = dark ? QColor(72, 72, 76) : QColor(252, 252, 252);
        constexpr int cell = 8;
        painter.save();
        painter.setClipRect(target);
        for (int y = target.top(); y <= target.bottom(); y += cell) {
            for (int x = target.left(); x <= target.right(); x += cell) {
                const bool even =
                    (((x - target.left()) / cell) + ((y - target.top()) / cell)) % 2 == 0;
                painter.fillRect(QRect(x, y, cell, cell), even ? a : b);
            }
        }
        painter.restore();
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, mImage);
}

}  // namespace korvex
