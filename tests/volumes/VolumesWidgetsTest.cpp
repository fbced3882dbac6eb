#include "VolumesFixture.h"

#include "diagram/volumes/UnscannedOverview.h"
#include "diagram/volumes/VolumesListView.h"
#include "support/MemoryTree.h"
#include "support/TempTree.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <set>

namespace korvex::test {
namespace {

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x24, 0x24, 0x27));
    palette.setColor(QPalette::WindowText, QColor(0xec, 0xec, 0xee));
    palette.setColor(QPalette::Base, QColor(0x1c, 0x1c, 0x1e));
    palette.setColor(QPalette::Text, QColor(0xec, 0xec, 0xee));
    palette.setColor(QPalette::Button, QColor(0x33, 0x33, 0x37));
    palette.setColor(QPalette::ButtonText, QColor(0xec, 0xec, 0xee));
    palette.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

// Draws the widget at twice the pixel density; saved as a PNG when
// KORVEX_RENDER_DIR names a folder, so the look can be checked by eye.
QImage render(QWidget& widget, const QString& name) {
    widget.ensurePolished();
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::transparent);
    widget.render(&image);
    QByteArray dir = qgetenv("KORVEX_RENDER_DIR");
    if (!dir.isEmpty()) {
        image.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
    }
    return image;
}

std::size_t distinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours.size();
}

void press(QWidget* target, QEvent::Type type, const QPoint& at) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void key(QWidget* target, int code) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

class VolumesListWidget : public VolumesFixture {
  protected:
    VolumesListWidget() {
        usb = makeVolume("/media/tester/Backup", "USB");
        fill({makeVolume("/", "SATA"), usb, makeVolume("/media/tester/Photos", "USB"),
              makeVolume("/mnt/archive", "")},
             {makeFolder(kHome), makeFolder("/data/projects")}, {makeFolder("/srv/www")});
        view.resize(280, controller.documentHeight());
        view.show();
        QApplication::processEvents();
    }

    QRect rowRect(int row) { return view.visualRect(view.listModel().index(row)); }

    std::shared_ptr<VolumeItem> usb;
    VolumesListView view{controller};
};

TEST_F(VolumesListWidget, ModelReadsTheRowsInPlace) {
    const VolumesListModel& model = view.listModel();
    ASSERT_EQ(model.rowCount(), controller.numberOfRows());
    EXPECT_EQ(model.index(0).data().toString(), QStringLiteral("tester"));
    EXPECT_EQ(model.index(1).data().toString(), QStringLiteral("Devices"));
    EXPECT_TRUE(model.index(1).data(VolumesListModel::IsGroupRole).toBool());
    EXPECT_EQ(model.index(0).data(Qt::ToolTipRole).toString(), QString::fromLatin1(kHome));
    EXPECT_FALSE(model.flags(model.index(1)) & Qt::ItemIsSelectable);
    EXPECT_TRUE(model.flags(model.index(2)) & Qt::ItemIsSelectable);

    // The model follows a change of the rows without being told by the test.
    controller.volumesCountChanged(false, "/mnt/archive", nullptr);
    EXPECT_EQ(model.rowCount(), controller.numberOfRows());
}

TEST_F(VolumesListWidget, HeadersRefuseTheSelectionFromClicksAndTheSelectionModel) {
    controller.selectVolumeByName("/");
    int selected = controller.selectedRow();
    press(view.viewport(), QEvent::MouseButtonPress, rowRect(1).center());
    view.selectionModel()->select(view.listModel().index(3), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(controller.selectedRow(), selected);
    ASSERT_EQ(view.selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(view.selectionModel()->selectedIndexes()[0].row(), selected);
}

TEST_F(VolumesListWidget, WidgetAndControllerSelectionsFollowEachOther) {
    int photos = controller.rowOfPath("/media/tester/Photos");
    view.selectionModel()->setCurrentIndex(view.listModel().index(photos),
                                           QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(controller.getSelectedVolume(), "/media/tester/Photos");
    EXPECT_EQ(delegate.selections.back()->getPath(), "/media/tester/Photos");

    controller.selectVolumeByName("/srv/www");
    EXPECT_EQ(view.currentIndex().row(), controller.rowOfPath("/srv/www"));
}

TEST_F(VolumesListWidget, SelectedRowIsScrolledIntoView) {
    view.resize(280, 120);
    controller.selectVolumeByName("/srv/www");
    controller.makeSelectedVolumeVisible();
    QRect last = rowRect(controller.rowOfPath("/srv/www"));
    EXPECT_TRUE(view.viewport()->rect().contains(last));
}

TEST_F(VolumesListWidget, ArrowKeysStepOverHeaders) {
    view.setFocus();
    controller.selectVolumeByName(kHome);  // row 0, header "Devices" below
    key(&view, Qt::Key_Down);
    EXPECT_EQ(controller.getSelectedVolume(), "/");
    key(&view, Qt::Key_Up);
    EXPECT_EQ(controller.getSelectedVolume(), kHome);
    key(&view, Qt::Key_Up);  // nothing above: stays
    EXPECT_EQ(controller.getSelectedVolume(), kHome);
}

TEST_F(VolumesListWidget, SpaceGoesToTheController) {
    controller.selectVolumeByName("/srv/www");
    controller.setHasKeyboardFocus(true);
    key(&view, Qt::Key_Space);
    ASSERT_EQ(delegate.commands.size(), 1u);
    EXPECT_EQ(delegate.commands[0].first, 1);
    EXPECT_EQ(delegate.commands[0].second->getPath(), "/srv/www");
    EXPECT_FALSE(controller.processKeyDownWith(Qt::Key_Tab)) << "left to the focus chain";
}

TEST_F(VolumesListWidget, OddNamesAreShownWithoutTrouble) {
    std::string odd = "/data/a \"quoted\"\nline\xff\xfe";
    controller.resetVolumesArray();
    fill({makeVolume("/media/odd\n\xc3", "USB")}, {}, {makeFolder(odd)});
    int row = controller.rowOfPath(odd);
    ASSERT_GE(row, 0);
    EXPECT_FALSE(view.listModel().index(row).data().toString().isEmpty());
    view.resize(280, controller.documentHeight());
    EXPECT_GT(distinctColours(render(view, "volumes-odd-names")), 20u);
}

TEST_F(VolumesListWidget, DoubleClickStartsAScanAndOnlyTheRowButtonStopsIt) {
    int row = controller.rowOfPath(usb->getPath());
    QRect button = VolumeRowDelegate::scanButtonRect(rowRect(row));
    press(view.viewport(), QEvent::MouseButtonPress, button.center());
    EXPECT_EQ(delegate.starts, 1);
    EXPECT_EQ(controller.getObjectForSelectedRow(), usb);

    controller.setScannedRootInfo(memoryRoot(usb->getPath()), TopLevelItem::Scanning);
    EXPECT_TRUE(view.isSpinning());
    press(view.viewport(), QEvent::MouseButtonDblClick, rowRect(row).center());
    EXPECT_EQ(delegate.stops, 0) << "opening the row leaves its scan running";
    press(view.viewport(), QEvent::MouseButtonPress, button.center());
    EXPECT_EQ(delegate.stops, 1);
    controller.setScannedRootInfo(usb->scannedRoot(), TopLevelItem::Scanned);
    EXPECT_FALSE(view.isSpinning());
    press(view.viewport(), QEvent::MouseButtonPress, button.center());
    EXPECT_EQ(delegate.starts, 2) << "a scanned row's button scans again";
    press(view.viewport(), QEvent::MouseButtonDblClick, rowRect(1).center());
    EXPECT_EQ(delegate.starts + delegate.stops, 3) << "a header does nothing";
}

TEST_F(VolumesListWidget, ButtonTooltipsFollowTheScanningState) {
    int row = controller.rowOfPath(usb->getPath());
    const QModelIndex index = view.listModel().index(row);
    const QRect rect = rowRect(row);
    const QPoint onButton = VolumeRowDelegate::scanButtonRect(rect).center();
    VolumeRowDelegate& rows = view.rowDelegate();
    EXPECT_EQ(rows.tooltipAt(index, rect, onButton), QStringLiteral("Start scanning"));
    EXPECT_TRUE(rows.tooltipAt(index, rect, rect.topLeft() + QPoint(20, 10)).isEmpty());
    EXPECT_TRUE(rows.tooltipAt(view.listModel().index(1), rowRect(1), onButton).isEmpty());
    usb->setScanningState(TopLevelItem::Scanning);
    EXPECT_EQ(rows.tooltipAt(index, rect, onButton), QStringLiteral("Stop scanning"));
    for (auto ended : {TopLevelItem::Cancelled, TopLevelItem::Scanned}) {
        usb->setScanningState(ended);
        EXPECT_EQ(rows.tooltipAt(index, rect, onButton), QStringLiteral("Rescan"));
    }
}

TEST_F(VolumesListWidget, RendersInLightAndDarkPalettes) {
    controller.selectVolumeByName("/media/tester/Photos");
    controller.setScannedRootInfo(memoryRoot("/"), TopLevelItem::Scanned);
    usb->setScanningState(TopLevelItem::Scanning);
    view.setFocus();
    QImage light = render(view, "volumes-light");
    EXPECT_GT(distinctColours(light), 20u);

    // Over the scanned row the mark gives way to the rescan button.
    QRect scanned = rowRect(controller.rowOfPath("/"));
    view.rowDelegate().setPointer(scanned.center());
    QImage hovered = render(view, "volumes-hover");
    QRect button = VolumeRowDelegate::scanButtonRect(scanned);
    QImage markArea = light.copy(QRect(button.topLeft() * 2, button.size() * 2));
    EXPECT_NE(markArea, hovered.copy(QRect(button.topLeft() * 2, button.size() * 2)));
    view.rowDelegate().setPointer({-1, -1});

    view.setPalette(darkPalette());
    QImage dark = render(view, "volumes-dark");
    EXPECT_GT(distinctColours(dark), 20u);
    // The dark list has a dark background.
    EXPECT_LT(qGray(dark.pixel(dark.width() - 4, dark.height() - 4)), 80);
}

class Overview : public ::testing::Test {
  protected:
    TempSettings settings;
    RecordingDelegate delegate;
    UnscannedOverview overview;
};

TEST_F(Overview, FolderShowsItsKindDatesAndPlace) {
    TempTree tree;
    auto folder = makeFolder(tree.folder("Reports"));
    overview.setDelegate(&delegate);
    overview.setEntry(folder, kHome);
    EXPECT_EQ(overview.nameLabel()->text(), QStringLiteral("Reports"));
    EXPECT_TRUE(overview.summaryLabel()->isHidden());
    auto facts = overview.shownFacts();
    ASSERT_EQ(facts.size(), 5u);
    EXPECT_EQ(facts[0], std::make_pair(QStringLiteral("Kind"), QStringLiteral("Folder")));
    EXPECT_EQ(facts[1].first, QStringLiteral("Created"));
    EXPECT_EQ(facts[2].first, QStringLiteral("Modified"));
    EXPECT_NE(facts[2].second, QStringLiteral("\u2014"));  // a real folder has a date
    EXPECT_EQ(facts[3].first, QStringLiteral("Last opened"));
    EXPECT_EQ(facts[4],
              std::make_pair(QStringLiteral("Where"), QString::fromStdString(tree.path())));

    overview.startButton()->click();
    EXPECT_EQ(delegate.starts, 1);
}

TEST_F(Overview, VolumeShowsCapacityUseReserveItemsAndType) {
    auto volume = makeVolume("/media/tester/Backup", "USB");
    volume->DAVolumeKind = "ext4";
    volume->setReservedSize(25'000'000'000);
    overview.setEntry(volume, kHome);
    auto facts = overview.shownFacts();
    ASSERT_EQ(facts.size(), 6u);
    EXPECT_EQ(facts[0], std::make_pair(QStringLiteral("Capacity"), QStringLiteral("500 GB")));
    // The reserve is neither used nor available.
    EXPECT_EQ(facts[1], std::make_pair(QStringLiteral("Used"), QStringLiteral("355 GB")));
    EXPECT_EQ(facts[2], std::make_pair(QStringLiteral("Available"), QStringLiteral("120 GB")));
    EXPECT_EQ(facts[3], std::make_pair(QStringLiteral("Reserved for the administrator"),
                                       QStringLiteral("25 GB")));
    EXPECT_EQ(facts[4].first, QStringLiteral("Items"));
    EXPECT_EQ(facts[5], std::make_pair(QStringLiteral("Type"), QStringLiteral("ext4")));
    EXPECT_FALSE(overview.summaryLabel()->isHidden());
    EXPECT_EQ(overview.summaryLabel()->text(), QStringLiteral("120 GB available of 500 GB"));

    // A new entry replaces the facts; a missing type says so; no entry shows none.
    volume->DAVolumeKind.clear();
    volume->setReservedSize(0);
    overview.setEntry(volume, kHome);
    EXPECT_EQ(overview.shownFacts().size(), 5u);
    EXPECT_EQ(overview.shownFacts().back().second, QStringLiteral("Unknown"));
    overview.setEntry(nullptr);
    EXPECT_TRUE(overview.shownFacts().empty());
    overview.startButton()->click();  // no delegate: nothing happens
}

TEST_F(Overview, RendersInLightAndDarkPalettes) {
    TempTree tree;
    overview.resize(520, 460);
    overview.setEntry(makeFolder(tree.folder("Projects")), kHome);
    EXPECT_GT(distinctColours(render(overview, "overview-folder-light")), 10u);
    overview.setPalette(darkPalette());
    overview.setEntry(makeVolume("/media/tester/Backup", "USB"), kHome);
    QImage dark = render(overview, "overview-volume-dark");
    EXPECT_LT(qGray(dark.pixel(4, 4)), 80);
}

}  // namespace
}  // namespace korvex::test
