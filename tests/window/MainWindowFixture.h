#pragma once

// The main window over a scratch home folder and a small scanned tree, with
// the waits the window tests share.

#include "app/window/MainWindow.h"
#include "app/window/ScanSummaryPanel.h"
#include "browse/lists/ContentsPanel.h"
#include "browse/lists/FolderColumnView.h"
#include "browse/lists/OutlineListConrtoller.h"
#include "diagram/RadialView.h"
#include "diagram/volumes/UnscannedOverview.h"
#include "diagram/volumes/VolumesListView.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/ItemViewInput.h"
#include "support/TempSettings.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <cmath>
#include <numbers>

#include <chrono>
#include <filesystem>
#include <thread>

namespace korvex {

using namespace std::chrono_literals;

template <class Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds limit = 20s) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

inline ItemRef childNamed(const ItemRef& folder, std::string_view name) {
    for (std::size_t i = 0; i < folder->numberOfChildren(); ++i) {
        if (folder->childAtIndex(i)->name() == name) {
            return folder->childAtIndex(i);
        }
    }
    return nullptr;
}

// A point of the view inside the sector of `node`, or none when the diagram
// does not draw it.
inline std::optional<QPoint> pointOnSector(const RadialController& radial, const ItemRef& node) {
    SectorItem sector;
    if (!radial.fillSectorItem(sector, node.get()) || sector.m_nSubLevel < 1) {
        return std::nullopt;
    }
    const double radius =
        (radial.radiusOf(sector.m_nSubLevel - 1) + radial.radiusOf(sector.m_nSubLevel)) / 2;
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = degree * std::numbers::pi / 180;
        const QPoint point =
            (radial.center() + QPointF(radius * std::cos(angle), radius * std::sin(angle)))
                .toPoint();
        if (radial.getItemByPoint(point).m_pItem == node) {
            return point;
        }
    }
    return std::nullopt;
}

using test::doubleClickAt;
using test::rowNamed;

// A left click on a row, once its list shows: a list made while the window
// is open shows when the event loop has run.
inline void clickRow(QAbstractItemView* view, const QModelIndex& row) {
    ASSERT_TRUE(waitFor([view] { return view->isVisible(); }, 2s));
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(row).center());
}

// Where a row's check box is drawn, in the view's viewport.
inline QRect checkIndicatorRect(QAbstractItemView* view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration;
    option.decorationSize = view->iconSize();
    return view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
}

inline CSTreeController::Timing fastTiming() {
    CSTreeController::Timing timing;
    timing.progressDelay = 1ms;
    timing.runUpTick = 5ms;
    return timing;
}

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() : window(home.path(), fastTiming()) {
        tree.file("a/big.bin", 300'000);
        tree.file("a/b/c/deep.txt", 5'000);
        tree.file("notes \"quoted\".txt", 12'000);
        tree.folder("empty");
        QObject::connect(views().dockProgress, &QProgressBar::valueChanged,
                         [this](int value) { progressValues.push_back(value); });
    }

    CSTreeController& controller() { return window.treeController(); }
    const MainWindowViews& views() const { return window.views(); }
    RadialController& radial() { return controller().radialController(); }
    ContentsPanel& contents() { return *views().contentsPanel; }
    TopLevelRef selected() { return controller().volumesController().getObjectForSelectedRow(); }

    // Files the folder into the left panel and selects it, without scanning.
    void selectFolder(const std::string& path) {
        controller().folderFiling().doScanFolder(path, false);
        ASSERT_NE(selected(), nullptr);
        ASSERT_EQ(selected()->getPath(), path);
    }
    void showSized(QSize size = {1200, 800}) {
        window.resize(size);
        window.show();
    }
    // Shown, active and drawn, as the user sees it.
    void showActive() {
        showSized();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // A click on the left panel's row of `path`, as the mouse makes it.
    void clickTarget(const std::string& path) {
        VolumesListView* list = views().volumesList;
        const int row = controller().volumesController().rowOfPath(path);
        ASSERT_GE(row, 0) << path;
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // A click on the diagram's sector of `node`.
    void clickSector(const ItemRef& node) {
        const std::optional<QPoint> point = pointOnSector(controller().radialController(), node);
        ASSERT_TRUE(point.has_value()) << node->getFullPath();
        QTest::mouseClick(views().radialView, Qt::LeftButton, {}, *point);
    }
    bool waitForZoom() {
        return waitFor([this] { return controller().radialController().drillState() == 0; }, 3s);
    }
    void startScanOf(const std::string& path) {
        ASSERT_NO_FATAL_FAILURE(selectFolder(path));
        controller().startAction();
    }
    // Files the folder into the left panel and scans it to the end, the
    // window's `count`-th scan.
    void scanFolder(const std::string& path, int count = 1) {
        ASSERT_NO_FATAL_FAILURE(startScanOf(path));
        ASSERT_TRUE(waitForScans(count));
    }
    void scanTree() { scanFolder(tree.path()); }
    // Scans the selected target again, to the end of the window's `count`-th scan.
    bool rescanned(int count) {
        controller().startAction();
        return waitForScans(count);
    }
    bool waitForScans(int count) {
        return waitFor([&] { return controller().scannedCount() >= count; });
    }
    // The scan's end runs up slowly: the scan is still on for about a second
    // after its walk, long enough to act while it runs.
    void slowRunUp() {
        CSTreeController::Timing timing = fastTiming();
        timing.runUpTick = 150ms;
        controller().setTiming(timing);
    }
    // The run-up values that came after the last time the bar was set to `from`.
    std::vector<int> valuesAfter(int from) const {
        auto it = std::find(progressValues.rbegin(), progressValues.rend(), from);
        return {it.base(), progressValues.end()};
    }

    test::TempSettings settings;
    test::TempTree home;
    test::TempTree tree;
    MainWindow window;
    std::vector<int> progressValues;
};

}  // namespace korvex
