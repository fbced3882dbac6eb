#include "diagram/CachedPicture.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cstdlib>

namespace korvex {
namespace {

const QRectF kBounds(10.3, 20.6, 50, 50);

void paintDisc(QPainter& painter, QColor colour) {
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(colour);
    painter.drawEllipse(kBounds.adjusted(4, 4, -4, -4));
}

QImage canvas(double ratio) {
    QImage image(QSize(100, 100) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

// Largest channel difference between two images of one size.
int difference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

QImage direct(double ratio, QPointF shift, QColor colour) {
    QImage image = canvas(ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(shift);
    paintDisc(painter, colour);
    return image;
}

// Drawn through the cache; `paints` counts the calls of the painting function.
QImage cached(CachedPicture& cache, double ratio, QPointF shift, QColor colour,
              int* paints = nullptr) {
    QImage image = canvas(ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(shift);
    int ignored = 0;
    int& count = paints != nullptr ? *paints : ignored;
    cache.draw(painter, kBounds, {static_cast<double>(colour.rgba())}, [&](QPainter& p) {
        ++count;
        paintDisc(p, colour);
    });
    return image;
}

TEST(CachedPicture, LandsOnTheSamePixelsAsADirectDrawing) {
    CachedPicture cache;
    for (double ratio : {1.0, 2.0}) {
        for (QPointF shift : {QPointF(0, 0), QPointF(0.25, 0.5), QPointF(3.7, 1.1)}) {
            EXPECT_LE(
                difference(cached(cache, ratio, shift, Qt::red), direct(ratio, shift, Qt::red)), 2)
                << "ratio " << ratio << " shift " << shift.x() << "," << shift.y();
        }
    }
}

TEST(CachedPicture, ANewKeyDrawsAgainAndTheSameKeyReusesThePicture) {
    CachedPicture cache;
    int paints = 0;
    cached(cache, 1.0, {}, Qt::red, &paints);
    // The second drawing of blue, under the same key, reuses the first's picture.
    for (int i = 0; i < 2; ++i) {
        EXPECT_LE(difference(cached(cache, 1.0, {}, Qt::blue, &paints), direct(1.0, {}, Qt::blue)),
                  2);
    }
    EXPECT_EQ(paints, 2);
}

TEST(CachedPicture, ARotatedPainterDrawsDirectly) {
    CachedPicture cache;
    QImage image = canvas(1.0);
    QPainter painter(&image);
    painter.rotate(10);
    int calls = 0;
    for (int i = 0; i < 2; ++i) {
        cache.draw(painter, kBounds, {1.0}, [&](QPainter& p) {
            ++calls;
            EXPECT_EQ(&p, &painter);
        });
    }
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace korvex
