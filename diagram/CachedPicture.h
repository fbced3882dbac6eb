#pragma once

#include <QImage>
#include <QRectF>

#include <functional>
#include <vector>

class QPainter;

namespace korvex {

// A drawing that is costly and seldom changes, kept as an image in device
// pixels. It is drawn again only when its inputs (the key), its bounds, its
// scale or its sub-pixel position change, so the cached picture lands on
// exactly the pixels a direct drawing would touch.
class CachedPicture {
  public:
    // Draws `paint` (in the painter's logical coordinates, within `bounds`)
    // from the cache when `key` and the placement match the last drawing.
    // A rotated or sheared painter gets `paint` directly.
    void draw(QPainter& painter, const QRectF& bounds, std::vector<double> key,
              const std::function<void(QPainter&)>& paint);

  private:
    std::vector<double> mKey;
    QImage mImage;
};

}  // namespace korvex
