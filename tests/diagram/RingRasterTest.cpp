#include "diagram/DiagramFixture.h"
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

using test::near;

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

struct Piece {
    double start, delta;
    QColor fill;
};

// The ring between kRadii with `pieces` in it, edged by lines of `lineWidth`.
QImage renderPieces(const std::vector<Piece>& pieces, QColor line = Qt::gray,
                    double lineWidth = 0.0) {
    RingRaster raster;
    raster.begin({kCenter, kCenter}, kRadii, line, lineWidth);
    for (const Piece& piece : pieces) {
        raster.addSector(1, piece.start, piece.delta, piece.fill);
    }
    return render(raster);
}

// Every pixel well inside a piece has exactly its colour and every pixel well
// outside all of them is untouched, across whole rows and both halves of the
// circle. Answers how many pixels were checked.
int expectExactAwayFromEdges(const std::vector<Piece>& pieces) {
    const QImage image = renderPieces(pieces);
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
                    // Measured around the piece's start, so the edges at
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
            EXPECT_EQ(image.pixel(x, y), expected.rgba()) << "pixel " << x << "," << y;
            if (image.pixel(x, y) != expected.rgba()) {
                return checked;
            }
        }
    }
    return checked;
}

TEST(RingRasterEdges, EveryPixelAwayFromAnEdgeTakesItsSectorsColour) {
    // Neighbours meeting at 12 o'clock, one pixel wide at radius 60, wide
    // ones, and gaps between them.
    EXPECT_GT(expectExactAwayFromEdges({{0.0, 0.03, Qt::yellow},
                                        {0.2, 1.0 / 377.0, Qt::black},
                                        {0.2 + 1.0 / 377.0, 0.3, Qt::blue},
                                        {0.6, 0.2, Qt::green},
                                        {0.97, 0.03, Qt::red}}),
              30'000);
}

TEST(RingRasterEdges, SectorGoingOnPastTwelveOClockIsFilledBeyondIt) {
    // Alone in its ring, and then with a neighbour that starts where it ends.
    EXPECT_GT(expectExactAwayFromEdges({{0.8, 0.3, Qt::red}}), 30'000);
    EXPECT_GT(expectExactAwayFromEdges({{0.3, 0.4, Qt::blue}, {0.9, 0.2, Qt::green}}), 30'000);
    EXPECT_GT(expectExactAwayFromEdges({{0.05, 0.1, Qt::blue}, {0.5, 0.55, Qt::green}}), 30'000);
}

TEST(RingRasterEdges, NoHairlineWhereASectorCrossesTwelveOClock) {
    const QImage image = renderPieces({{0.9, 0.2, Qt::white}}, Qt::black, 1.0);
    // The column just right of the centre runs up through the top of the
    // ring: it is the sector's colour all the way, with no line at the top.
    for (int y = 22; y < 58; ++y) {
        EXPECT_EQ(image.pixelColor(100, y), QColor(Qt::white)) << "row " << y;
        EXPECT_EQ(image.pixelColor(99, y), QColor(Qt::white)) << "row " << y;
    }
}

TEST(RingRasterEdges, HairlineDarkensThePixelsItCrossesAndNoOthers) {
    const QImage image =
        renderPieces({{0.0, 0.25, Qt::white}, {0.25, 0.25, Qt::white}}, Qt::black, 1.0);
    // The shared edge at 3 o'clock runs along y = 100: the rows either side
    // take half of the line each, the next ones none of it.
    for (int x = 145; x < 176; x += 5) {
        EXPECT_NEAR(image.pixelColor(x, 99).red(), 128, 8) << "column " << x;
        EXPECT_NEAR(image.pixelColor(x, 100).red(), 128, 8) << "column " << x;
        EXPECT_EQ(image.pixelColor(x, 98), QColor(Qt::white)) << "column " << x;
        EXPECT_EQ(image.pixelColor(x, 101), QColor(Qt::white)) << "column " << x;
    }
}

TEST(RingRasterEdges, ManySectorsInOnePixelAverageTheirColours) {
    // Red and blue alternating, each a twentieth of a pixel at radius 60,
    // from 0.1 to 0.3 of the circle, and a wide green sector after them.
    const double step = 1.0 / (377.0 * 20);
    std::vector<Piece> pieces;
    for (double start = 0.1; start < 0.3; start += step) {
        pieces.push_back({start, step, pieces.size() % 2 == 0 ? Qt::red : Qt::blue});
    }
    pieces.push_back({0.1 + static_cast<double>(pieces.size()) * step, 0.2, Qt::green});
    const QImage image = renderPieces(pieces);
    for (double radius = 45; radius < 76; radius += 5) {
        for (double fraction = 0.12; fraction < 0.29; fraction += 0.02) {
            const QColor mixed = colourAt(image, fraction, radius);
            EXPECT_NEAR(mixed.red(), 128, 8) << fraction << " at radius " << radius;
            EXPECT_NEAR(mixed.blue(), 128, 8) << fraction << " at radius " << radius;
            EXPECT_EQ(mixed.green(), 0) << fraction << " at radius " << radius;
        }
        EXPECT_EQ(colourAt(image, 0.4, radius), QColor(Qt::green)) << "radius " << radius;
    }
}

TEST(RingRasterEdges, NarrowSectorBesideAWideOneShowsByItsShare) {
    // A third of a pixel at radius 60, then nothing up to half the circle.
    const QImage image =
        renderPieces({{0.0, 0.25, Qt::white}, {0.25, 1.0 / (3 * 377.0), Qt::black}});
    // Along the column through radius 60 the black third darkens the pixels
    // it touches by about its share and leaves the wide sector white.
    int darkness = 0;
    for (int y = 96; y < 106; ++y) {
        darkness += 255 - image.pixelColor(160, y).red();
    }
    EXPECT_NEAR(darkness, 255 / 3, 12);
    EXPECT_EQ(image.pixelColor(160, 97), QColor(Qt::white));
}

TEST(RingRasterEdges, NeighbouringRingsMeetWithoutBackgroundBetweenThem) {
    RingRaster raster;
    raster.begin({kCenter, kCenter}, {30, 60, 90}, Qt::gray, 0.0);
    raster.addSector(1, 0.0, 1.0, Qt::red);
    raster.addSector(2, 0.0, 0.5, Qt::blue);
    raster.addSector(2, 0.5, 0.5, Qt::blue);
    const QImage image = render(raster);
    for (double fraction = 0.01; fraction < 1; fraction += 0.07) {
        const QColor seam = colourAt(image, fraction, 60);
        EXPECT_LT(seam.green(), 40) << "at " << fraction;
        EXPECT_GT(seam.red() + seam.blue(), 215) << "at " << fraction;
        EXPECT_EQ(colourAt(image, fraction, 45), QColor(Qt::red)) << "at " << fraction;
        EXPECT_EQ(colourAt(image, fraction, 75), QColor(Qt::blue)) << "at " << fraction;
        EXPECT_EQ(colourAt(image, fraction, 95), QColor(Qt::white)) << "at " << fraction;
    }
}

}  // namespace
}  // namespace korvex
