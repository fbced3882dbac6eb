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

// Every pixel well inside a sector has exactly its colour and every pixel well
// outside all of them is untouched, across whole rows, both halves of the
// circle and both sides of 12 o'clock.
TEST(RingRasterEdges, EveryPixelAwayFromAnEdgeTakesItsSectorsColour) {
    struct Piece {
        double start, delta;
        QColor fill;
    };
    // Neighbours meeting at 12 o'clock, one pixel wide at radius 60, wide ones.
    const std::vector<Piece> pieces{{0.0, 0.03, Qt::yellow},
                                    {0.2, 1.0 / 377.0, Qt::black},
                                    {0.2 + 1.0 / 377.0, 0.3, Qt::blue},
                                    {0.6, 0.2, Qt::green},
                                    {0.97, 0.03, Qt::red}};
    RingRaster raster;
    raster.begin({kCenter, kCenter}, kRadii, Qt::gray, 0.0);
    for (const Piece& piece : pieces) {
        raster.addSector(1, piece.start, piece.delta, piece.fill);
    }
    const QImage image = render(raster);
    int checked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double dx = x + 0.5 - kCenter;
            const double dy = y + 0.5 - kCenter;
            const double d = std::hypot(dx, dy);
            double turn = std::atan2(dx, -dy) / (2 * std::numbers::pi);
            turn = turn < 0 ? turn + 1 : turn;
            if (std::abs(d - kRadii[0]) < 1.0 || std::abs(d - kRadii[1]) < 1.0) {
                continue;
            }
            QColor expected = Qt::white;
            bool nearEdge = false;
            if (d > kRadii[0] && d < kRadii[1]) {
                const double margin = 1.0 / (2 * std::numbers::pi * d);
                for (const Piece& piece : pieces) {
                    // Measured around the sector's start, so the edges at
                    // 12 o'clock need no special case.
                    const double from = std::fmod(turn - piece.start + 2, 1.0);
                    if (from < piece.delta) {
                        expected = piece.fill;
                    }
                    if (std::min(from, 1 - from) < margin ||
                        std::abs(from - piece.delta) < margin) {
                        nearEdge = true;
                    }
                }
            }
            if (nearEdge) {
                continue;
            }
            ++checked;
            ASSERT_EQ(image.pixel(x, y), expected.rgba()) << "pixel " << x << "," << y;
        }
    }
    EXPECT_GT(checked, 30'000);
}

TEST(RingRasterEdges, OnePixelSectorShowsBetweenItsNeighbours) {
    RingRaster raster;
    raster.begin({kCenter, kCenter}, kRadii, Qt::gray, 0.0);
    raster.addSector(1, 0.0, 0.25, Qt::white);
    raster.addSector(1, 0.25, 1.0 / 377.0, Qt::black);  // one pixel at radius 60
    raster.addSector(1, 0.25 + 1.0 / 377.0, 0.25, Qt::white);
    const QImage image = render(raster);
    // At 3 o'clock the sector is one row tall: the column through radius 60
    // darkens there and nowhere a few pixels aside.
    int darkest = 255;
    for (int y = 97; y < 104; ++y) {
        darkest = std::min(darkest, image.pixelColor(160, y).red());
    }
    EXPECT_LT(darkest, 140);
    EXPECT_EQ(image.pixelColor(160, 95), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(160, 104), QColor(Qt::white));
}

}  // namespace
}  // namespace korvex
