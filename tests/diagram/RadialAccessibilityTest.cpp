#include "diagram/DiagramViewFixture.h"
#include "diagram/RadialAccessibility.h"
#include "scan/targets/VolumeItem.h"

#include <QAccessible>

namespace korvex {
namespace {

using namespace test;

class Accessibility : public DiagramView {
  protected:
    QAccessibleInterface* chart() const {
        return QAccessible::queryAccessibleInterface(view.get());
    }
    static QString id(QAccessibleInterface* element) {
        return element->text(QAccessible::UserText);
    }
};

TEST_F(Accessibility, TheChartListsItsDrawnSectorsRootFirst) {
    FolderRef root = showSample();
    QAccessibleInterface* group = chart();
    ASSERT_NE(group, nullptr);
    // root, docs, x, y, big, mid, then the small items folded into one.
    ASSERT_EQ(group->childCount(), 7);
    QAccessibleInterface* first = group->child(0);
    EXPECT_EQ(id(first), "radial.sector.root");
    EXPECT_EQ(first->text(QAccessible::Name), "data");
    EXPECT_EQ(first->text(QAccessible::Value), "10 kB");
    EXPECT_EQ(first->parent(), group);
    EXPECT_EQ(group->child(1)->text(QAccessible::Name), "docs");
    EXPECT_EQ(id(group->child(1)), "radial.sector.1");
    EXPECT_EQ(group->child(2)->text(QAccessible::Name), "x");
    QAccessibleInterface* other = group->child(6);
    EXPECT_EQ(other->text(QAccessible::Name), "Other items");
    EXPECT_EQ(other->text(QAccessible::Value), "10 B");
    EXPECT_EQ(id(other), "radial.sector.6");
    // Frames are on screen, where the view is.
    const QRect frame = group->child(4)->rect();
    EXPECT_TRUE(view->rect().contains(view->mapFromGlobal(frame.center())));
    EXPECT_EQ(group->childAt(frame.center().x(), frame.center().y()), group->child(4));
}

TEST_F(Accessibility, ANewRootRebuildsTheElements) {
    FolderRef root = showSample();
    ASSERT_EQ(chart()->childCount(), 7);
    controller.setRoot(ItemRef(docs), true);
    ASSERT_EQ(chart()->childCount(), 3);
    EXPECT_EQ(chart()->child(0)->text(QAccessible::Name), "docs");
}

TEST_F(Accessibility, AnUnscannedVolumeIsOccupiedAndFreeSpace) {
    auto volume = std::make_shared<VolumeItem>("/", "File System", 1000, 400, 0);
    controller.setRoot(volume);
    QAccessibleInterface* group = chart();
    ASSERT_EQ(group->childCount(), 3);
    EXPECT_EQ(id(group->child(0)), "radial.sector.root");
    EXPECT_EQ(id(group->child(1)), "radial.sector.occupied");
    EXPECT_EQ(group->child(1)->text(QAccessible::Value), "600 B");
    EXPECT_EQ(id(group->child(2)), "radial.sector.free");
    EXPECT_EQ(group->child(2)->text(QAccessible::Value), "400 B");
}

}  // namespace
}  // namespace korvex
