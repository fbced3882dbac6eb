#include "diagram/DiagramImage.h"

#include "diagram/RadialController.h"

#include <QPainter>

namespace korvex {

QImage renderDiagram(const ItemRef& root, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor("#F4F5F7"));
    RadialController controller;
    controller.initRadialParameters(QRectF(0, 0, size, size));
    controller.setRoot(root, true, false);  // drawn once, right here
    QPainter painter(&image);
    controller.DrawRadialSructure(painter, image.rect());
    return image;
}

}  // namespace korvex
