#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

namespace korvex {

// A widget under a graphics effect (the diagram's drop shadow) is painted
// through a redirection whose offset lies outside the painter's world
// transform. Code that works in device pixels and then resets the world
// transform to draw them keeps that offset and so applies it twice. Within
// this scope the world transform leaves the offset out, so such code puts its
// pixels where the painter's own drawing goes; code that honours the whole
// device transform draws the same either way.
class PainterRedirectionScope {
  public:
    explicit PainterRedirectionScope(QPainter& painter) : mPainter(painter) {
        mPainter.save();
        // What the device adds to the world transform, less the pixel ratio
        // that such code takes into account itself.
        const QTransform world = mPainter.worldTransform();
        const double ratio = mPainter.device()->devicePixelRatioF();
        const QTransform beyondWorld = world.inverted() * mPainter.deviceTransform();
        mPainter.setWorldTransform(world * QTransform::fromScale(ratio, ratio) *
                                   beyondWorld.inverted());
    }
    ~PainterRedirectionScope() { mPainter.restore(); }
    PainterRedirectionScope(const PainterRedirectionScope&) = delete;
    PainterRedirectionScope& operator=(const PainterRedirectionScope&) = delete;

  private:
    QPainter& mPainter;
};

}  // namespace korvex
