#include "diagram/DiagramFixture.h"
#include "diagram/ServeEventLoop.h"

#include <algorithm>

namespace korvex {
namespace {

using namespace test;

// /data: documents (a 3000, b 2000) and big 4000; the zoom goes into
// documents and back out, its progress set by hand.
class ZoomMorph : public Diagram {
  protected:
    void SetUp() override {
        root = makeRoot();
        FolderSystemItem* documents = folder(root.get(), "documents");
        file(documents, "a", 3000);
        file(documents, "b", 2000);
        file(root.get(), "big", 4000);
        show(root);
        for (const ItemRef& child : root->childrenArray()) {
            if (child->name() == "documents") {
                docs = child;
            }
        }
    }
    void TearDown() override { controller.stopDrillAnimation(); }

    // How strongly a white label shows in the middle of the centre disc: the
    // brightest red (the disc is blue) in the text's row, beside the hole the
    // morph leaves in the middle, against the same span of a row below the
    // text, scaled to 0 (no label) … 1 (opaque white).
    double labelStrength(double hole) const {
        const QPointF c = controller.center();
        const double disc = controller.fullRadius() * 0.5;  // the node alone: one ring
        auto brightestRed = [&](double dy) {
            int best = 0;
            for (int dx = static_cast<int>(hole) + 4; dx < static_cast<int>(disc * 0.6); ++dx) {
                for (int side : {-1, 1}) {
                    for (int row = -6; row <= 6; ++row) {
                        const QColor pixel = image.pixelColor(static_cast<int>(c.x()) + side * dx,
                                                              static_cast<int>(c.y() + dy) + row);
                        best = std::max(best, pixel.red());
                    }
                }
            }
            return best;
        };
        const int plain = brightestRed(disc * 0.65);
        return static_cast<double>(brightestRed(0) - plain) / (255 - plain);
    }
    // Renders the frame at progress `p`; answers the label's strength there.
    double renderAt(double p, double hole = 0) {
        controller.updateDrillAnimationValue(p);
        render();
        return labelStrength(hole);
    }

    FolderRef root;
    ItemRef docs;
};

TEST_F(ZoomMorph, TheNameAppearsOnlyInTheLastTenthOfAZoomIn) {
    const double outerDisc = controller.radiusOf(0);
    controller.startDrillInAnimation(docs, 1, controller.angleForItem(docs.get()));
    EXPECT_LT(renderAt(0.5, 0.5 * outerDisc), 0.08);
    EXPECT_LT(renderAt(0.85, 0.15 * outerDisc), 0.08);
    EXPECT_NEAR(renderAt(0.95, 0.05 * outerDisc), 0.5, 0.2);
    EXPECT_GT(renderAt(1.0), 0.85);
}

TEST_F(ZoomMorph, TheNameFadesOutInTheFirstTenthOfAZoomOut) {
    controller.setRoot(docs, true, false);
    controller.startDrillOutAnimation(root);
    const double outerDisc = controller.radiusOf(0);
    ASSERT_EQ(controller.drillState(), 2);
    EXPECT_GT(renderAt(0.0), 0.85);
    EXPECT_NEAR(renderAt(0.05, 0.05 * outerDisc), 0.5, 0.2);
    EXPECT_LT(renderAt(0.15, 0.15 * outerDisc), 0.08);
}

// The last frame of a zoom in is the still picture of the new root, so the
// end of the motion shows no jump.
TEST_F(ZoomMorph, AZoomInEndsOnThePictureItLeavesBehind) {
    controller.startDrillInAnimation(docs, 1, controller.angleForItem(docs.get()));
    renderAt(1.0);
    const QImage lastFrame = image;
    controller.stopDrillAnimation();
    ASSERT_EQ(controller.root(), docs);
    render();
    int differing = 0;
    for (int y = 0; y < kSize; y += 2) {
        for (int x = 0; x < kSize; x += 2) {
            if (!near(lastFrame.pixelColor(x, y), image.pixelColor(x, y), 24)) {
                ++differing;
            }
        }
    }
    // Antialiased edges may differ a little, nothing more.
    EXPECT_LT(differing, kSize * kSize / 4 / 200);
}

TEST_F(ZoomMorph, TheViewIsDrawnAgainOnceAfterAZoomOutEnds) {
    int redraws = 0;
    controller.setNeedsDisplayHandler([&redraws] { ++redraws; });
    controller.setRoot(docs, true, false);
    controller.startDrillOutAnimation(root);
    controller.stopDrillAnimation();
    const int atEnd = redraws;
    EXPECT_TRUE(spinUntil([&] { return redraws > atEnd; }));
    serveFor(400);  // a second redraw would come in this time
    EXPECT_EQ(redraws, atEnd + 1);
    controller.setNeedsDisplayHandler(nullptr);
}

TEST_F(ZoomMorph, ARootSetWithoutRedrawSchedulesNone) {
    serveFor(300);  // the redraw of the first root is over
    int redraws = 0;
    controller.setNeedsDisplayHandler([&redraws] { ++redraws; });
    controller.setRoot(docs, true, false);
    serveFor(300);
    EXPECT_EQ(redraws, 0);
    controller.setRoot(root, true);
    EXPECT_TRUE(spinUntil([&] { return redraws > 0; }));
    controller.setNeedsDisplayHandler(nullptr);
}

}  // namespace
}  // namespace korvex
