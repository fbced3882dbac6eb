#pragma once

#include "diagram/DiagramColors.h"
#include "diagram/RadialController.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/MemoryTree.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace korvex::test {

constexpr int kSize = 600;

inline FolderRef makeRoot() {
    return memoryRoot("/data");
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 6) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

class Diagram : public ::testing::Test {
  protected:
    void show(const ItemRef& root, bool sort = true) {
        if (root->isDir()) {
            auto* rootFolder = static_cast<FolderSystemItem*>(root.get());
            rootFolder->calctotalsize();
            if (sort) {
                rootFolder->sortChildrenBySize(true);
            }
        }
        controller.initRadialParameters(QRectF(0, 0, kSize, kSize));
        controller.setRoot(root, true);
        render();
    }
    void render() {
        image = QImage(kSize, kSize, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        controller.DrawRadialSructure(painter, image.rect());
    }
    // The colour in the middle of ring `level` at `fraction` of the circle.
    QColor colorAt(int level, double fraction) const {
        double r = (controller.radiusOf(level - 1) + controller.radiusOf(level)) / 2;
        double theta = M_PI / 2 - 2 * M_PI * fraction;
        QPointF c = controller.center();
        return image.pixelColor(static_cast<int>(std::lround(c.x() + r * std::cos(theta))),
                                static_cast<int>(std::lround(c.y() - r * std::sin(theta))));
    }
    QColor expectedFill(int flag, int level, double start, double delta) const {
        return DiagramColors::shared().sectorFill(flag, level, start, delta, 1.0);
    }

    RadialController controller;
    QImage image;
};

}  // namespace korvex::test
