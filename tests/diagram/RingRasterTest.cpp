#include "diagram/RingRaster.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace korvex {
namespace {

constexpr double kCenter = 100;
const std::vector<double> kRadii{40, 80};  // one ring between 40 and 80

// The pixel at `fraction` of the circle (clockwise from 12 o'clock) and
// `radius`, in logical coordinates of `image`.
QColor colourAt(const QImage& image, double fraction, double radius) {
    const double angle = 2 * std::numbers::pi * fraction;
    const double ratio = image.devicePixelRatio();
    const int x = static_cast<int>(std::floor((kCenter + radius * std::sin(angle)) * ratio));
    const int y = static_cast<int>(std::floor((kCenter - radius * std::cos(angle)) * ratio));
    return image.pixelColor(x, y);
}

bool near(const QColor& a, const QColor& b, int tolerance = 6) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QImage render(RingRaster& raster, double ratio = 1.0, QRectF dirty = {0, 0, 200, 200}) {
    QImage image(QSize(200, 200) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    raster.draw(painter, dirty);
    return image;
}

class RingRasterTest : public ::testing::Test {
  protected:
    RingRasterTest() {
        raster.begin({kCenter, kCenter}, kRadii, Qt::gray, 0.0);
        raster.addSector(1, 0.0, 0.25, Qt::red);
        raster.addSector(1, 0.25, 0.25, Qt::blue);
        // Across 12 o'clock: from 0.9 on to 0.95 of the circle.
        raster.addSector(1, 0.9, 0.05, Qt::green);
    }
    RingRaster raster;
};

TEST_F(RingRasterTest, SectorsFillTheirAnglesAndLeaveGapsAndCentreEmpty) {
    const QImage image = render(raster);
    EXPECT_TRUE(near(colourAt(image, 0.125, 60), Qt::red));
    EXPECT_TRUE(near(colourAt(image, 0.375, 60), Qt::blue));
    EXPECT_TRUE(near(colourAt(image, 0.925, 60), Qt::green));
    EXPECT_TRUE(near(colourAt(image, 0.7, 60), Qt::white));    // no sector there
    EXPECT_TRUE(near(colourAt(image, 0.125, 20), Qt::white));  // inside the disc
    EXPECT_TRUE(near(colourAt(image, 0.125, 90), Qt::white));  // beyond the ring
}

TEST_F(RingRasterTest, NeighboursMeetWithoutBackgroundBetweenThem) {
    const QImage image = render(raster);
    // The pixels straddling the border at 3 o'clock are red and blue only:
    // no white shows through.
    for (double radius = 45; radius < 76; radius += 5) {
        const QColor seam = colourAt(image, 0.25, radius);
        EXPECT_LT(seam.green(), 40) << "radius " << radius;
        EXPECT_GT(seam.red() + seam.blue(), 215) << "radius " << radius;
    }
}

TEST_F(RingRasterTest, DevicePixelsKeepTheSameGeometry) {
    const QImage image = render(raster, 2.0);
    EXPECT_EQ(image.width(), 400);
    EXPECT_TRUE(near(colourAt(image, 0.125, 60), Qt::red));
    EXPECT_TRUE(near(colourAt(image, 0.375, 78), Qt::blue));
    EXPECT_TRUE(near(colourAt(image, 0.375, 82), Qt::white));
}

TEST_F(RingRasterTest, OnlyTheDirtyAreaIsRendered) {
    const QImage image = render(raster, 1.0, QRectF(0, 0, 100, 200));  // the left half
    EXPECT_TRUE(near(colourAt(image, 0.925, 60), Qt::green));
    EXPECT_TRUE(near(colourAt(image, 0.125, 60), Qt::white));  // red, but not repainted
}

TEST(RingRasterEdges, SectorNarrowerThanAPixelIsBlendedByItsShare) {
    RingRaster raster;
    raster.begin({kCenter, kCenter}, kRadii, Qt::gray, 0.0);
    // A tenth of a pixel's width at radius 60 (the circumference is 377 px).
    raster.addSector(1, 0.0, 0.1 / 377.0, Qt::black);
    const QImage image = render(raster);
    const QColor touched = colourAt(image, 0.0, 60);
    EXPECT_GT(touched.red(), 180);  // mostly background
    EXPECT_LT(touched.red(), 255);  // but not untouched
}

}  // namespace
}  // namespace korvex
