#include "diagram/CachedPicture.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace korvex {

void CachedPicture::draw(QPainter& painter, const QRectF& bounds, std::vector<double> key,
                         const std::function<void(QPainter&)>& paint) {
    const QTransform device = painter.deviceTransform();
    const bool exact =
        device.type() <= QTransform::TxScale && device.m11() == device.m22() && device.m11() > 0;
    if (!exact) {
        paint(painter);
        return;
    }
    const QRect area = device.mapRect(bounds).toAlignedRect();
    if (area.isEmpty()) {
        return;
    }
    // The sub-pixel offset of the drawing decides its antialiased edges.
    const QPointF origin = device.map(QPointF(0, 0));
    key.insert(key.end(),
               {device.m11(), origin.x() - std::floor(origin.x()),
                origin.y() - std::floor(origin.y()), origin.x() - area.x(), origin.y() - area.y(),
                static_cast<double>(area.width()), static_cast<double>(area.height())});
    if (key != mKey || mImage.isNull()) {
        mImage = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        mImage.fill(Qt::transparent);
        QPainter own(&mImage);
        own.setRenderHints(painter.renderHints());
        own.setTransform(device * QTransform::fromTranslate(-area.x(), -area.y()));
        paint(own);
        mKey = std::move(key);
    }
    const double ratio = painter.device()->devicePixelRatioF();
    mImage.setDevicePixelRatio(ratio);
    painter.save();
    // Device pixels, scaled back by the pixel ratio the image is drawn at; a
    // redirection of the painter (a widget under a graphics effect) is part
    // of `device` already and must not move the image a second time.
    painter.setWorldTransform(QTransform::fromScale(ratio, ratio) * device.inverted() *
                              painter.worldTransform());
    painter.drawImage(QPointF(area.topLeft()) / ratio, mImage);
    painter.restore();
}

}  // namespace korvex
