#include "diagram/CachedPicture.h"

#include "diagram/DevicePixels.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace korvex {

void CachedPicture::draw(QPainter& painter, const QRectF& bounds, std::vector<double> key,
                         const std::function<void(QPainter&)>& paint) {
    const QTransform device = painter.deviceTransform();
    if (!mapsToDevicePixels(device)) {
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
    drawDeviceImage(painter, device, area.topLeft(), mImage);
}

}  // namespace korvex
