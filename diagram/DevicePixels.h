#pragma once

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QTransform>

namespace korvex {

// Whether a painter with this device transform only moves and scales evenly,
// so that pictures can be made in its device pixels and drawn back 1:1.
inline bool mapsToDevicePixels(const QTransform& device) {
    return device.type() <= QTransform::TxScale && device.m11() == device.m22() && device.m11() > 0;
}

// Draws `image`, made in device pixels with its top left at `topLeft`, back
// through `painter` pixel for pixel. `device` is the painter's device
// transform when the image was laid out. A widget painted into another
// device (as grab() and render() do) goes through a redirection whose offset
// is part of `device` but not of the world transform, so the world transform
// is undone through `device` rather than reset: resetting it would keep that
// offset and move the image a second time.
inline void drawDeviceImage(QPainter& painter, const QTransform& device, const QPoint& topLeft,
                            QImage& image) {
    const double ratio = painter.device()->devicePixelRatioF();
    image.setDevicePixelRatio(ratio);
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(ratio, ratio) * device.inverted() *
                              painter.worldTransform());
    painter.drawImage(QPointF(topLeft) / ratio, image);
    painter.restore();
}

}  // namespace korvex
