#include "window/MainWindowFixture.h"

#include "diagram/DiagramBackgroundPanel.h"
#include "support/DiskUsage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace korvex {
namespace {

TEST_F(MainWindowTest, StartControlScansTheSelectedFolderToTheFinishedState) {
    selectFolder(tree.path());
    EXPECT_EQ(views().rightStack->currentWidget(), views().overview);
    views().startStopButton->click();
    EXPECT_TRUE(controller().isProcessing());
    EXPECT_EQ(selected()->scanningState(), TopLevelItem::Scanning);

    ASSERT_TRUE(waitForScans(1));
    const TopLevelRef entry = selected();
    EXPECT_EQ(entry->scanningState(), TopLevelItem::Scanned);
    ASSERT_NE(entry->scannedRoot(), nullptr);
    EXPECT_EQ(controller().radialController().root(), ItemRef(entry->scannedRoot()));
    EXPECT_GE(entry->scannedRoot()->gettotalsize(), 317'000);
    EXPECT_EQ(views().rightStack->currentWidget(), views().rightPanelWidget);
    EXPECT_EQ(window.summaryPanel()->titleLabel()->text().toStdString(),
              tree.root().filename().string());
    EXPECT_FALSE(controller().isProcessing());
    EXPECT_TRUE(views().startStopButton->isEnabled());
    EXPECT_EQ(controller().progressValue(), 0);
    // The biggest files were collected by the walker, biggest first.
    QAbstractItemModel* biggest = contents().biggestFilesView().model();
    ASSERT_GE(biggest->rowCount(), 3);
    EXPECT_EQ(biggest->index(0, 0).data().toString(), "big.bin");
}

TEST_F(MainWindowTest, UnmeasuredScanRunsUpFromTheFloorAndAMeasuredOneFromItsValue) {
    // A folder scan has no occupied size to measure against: the bar stays at
    // its start and the run-up begins at the floor.
    ASSERT_NO_FATAL_FAILURE(scanTree());
    EXPECT_EQ(valuesAfter(0).size(), 0u);  // ends back at the start
    std::vector<int> runUp(progressValues.begin(), progressValues.end() - 1);
    while (!runUp.empty() && runUp.front() == 0) {
        runUp.erase(runUp.begin());
    }
    EXPECT_EQ(runUp, (std::vector<int>{500, 575, 650, 725, 800, 875, 950, 1000}));

    // Where the bar stands when the walk ends is where the run-up starts.
    QObject::connect(&controller(), &CSTreeController::scanningChanged, [this](bool scanning) {
        if (scanning) {
            views().dockProgress->setValue(600);
        }
    });
    progressValues.clear();
    ASSERT_TRUE(rescanned(2));
    EXPECT_EQ(valuesAfter(600), (std::vector<int>{675, 750, 825, 900, 975, 1000, 0}));
}

TEST_F(MainWindowTest, CancelMarksTheRowStoppedWithoutRunUp) {
    for (int folder = 0; folder < 40; ++folder) {
        for (int file = 0; file < 100; ++file) {
            tree.file("many/" + std::to_string(folder) + "/" + std::to_string(file), 10);
        }
    }
    startScanOf(tree.path());
    const FolderRef root = controller().dirwalker().getRootItem();
    // A second start while the scan runs changes nothing.
    controller().startAction();
    controller().checkAccessToSelectedVolumeAndStartScan();
    EXPECT_EQ(controller().dirwalker().getRootItem(), root);
    controller().stopAction();
    ASSERT_TRUE(waitForScans(1));
    EXPECT_EQ(controller().scannedCount(), 1);
    EXPECT_EQ(selected()->scanningState(), TopLevelItem::Cancelled);
    EXPECT_EQ(std::count(progressValues.begin(), progressValues.end(), 500), 0);
    EXPECT_EQ(controller().progressValue(), 0);
}

TEST_F(MainWindowTest, FolderThatVanishedBeforeItsScanIsOfferedForRemoval) {
    const std::string gone = tree.folder("gone soon");
    selectFolder(gone);
    std::filesystem::remove(gone);
    controller().startAction();
    EXPECT_FALSE(controller().isProcessing());
    auto* alert = qobject_cast<QMessageBox*>(controller().currentAlert());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), "Cannot scan the folder");
    EXPECT_EQ(alert->informativeText().toStdString(),
              "The folder \"" + gone +
                  "\" does not exist.\nWould you like to remove it from the Favorites list?");
    ASSERT_EQ(alert->buttons().size(), 2);
    alert->buttons().at(0)->click();  // "Yes"
    EXPECT_EQ(controller().volumesController().rowOfPath(gone), -1);
    EXPECT_EQ(controller().scannedCount(), 0);
}

TEST_F(MainWindowTest, UnmountOfAnotherVolumeLeavesTheRunningScanAlone) {
    const auto& volumes = controller().dirwalker().getVolumesInfo();
    if (volumes.empty()) {
        GTEST_SKIP() << "this machine shows no volumes to the scanner";
    }
    const std::string other = volumes.front()->getPath();
    startScanOf(tree.path());
    controller().didUnmountVolume(other);
    EXPECT_TRUE(controller().isProcessing());
    EXPECT_EQ(controller().dirwalker().getVolumeItemWithPath(other), nullptr);
    EXPECT_EQ(controller().volumesController().rowOfPath(other), -1);
    // The selection stayed on the folder being scanned.
    EXPECT_EQ(selected()->getPath(), tree.path());
    ASSERT_TRUE(waitForScans(1));
    EXPECT_EQ(selected()->scanningState(), TopLevelItem::Scanned);
}

TEST_F(MainWindowTest, RescanReturnsToTheFolderTheUserMovedToMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(showActive());
    ASSERT_NO_FATAL_FAILURE(scanTree());
    // Time to move in the diagram while the rescan runs up.
    slowRunUp();
    auto rescanGoingInto = [&](std::initializer_list<const char*> names) {
        views().startStopButton->click();
        ASSERT_TRUE(waitFor([&] { return controller().isRunningUp(); }));
        ASSERT_TRUE(radial().isRootBeingScanned());
        ItemRef at = radial().root();
        for (const char* name : names) {
            at = childNamed(at, name);
            ASSERT_NE(at, nullptr) << name;
            ASSERT_NO_FATAL_FAILURE(clickSector(at));
            ASSERT_TRUE(waitForZoom());
            ASSERT_EQ(radial().root(), at);
        }
        ASSERT_TRUE(controller().isProcessing()) << "the moves came after the scan";
    };
    ASSERT_NO_FATAL_FAILURE(rescanGoingInto({"a", "b"}));
    ASSERT_TRUE(waitForScans(2));
    EXPECT_EQ(radial().root()->getFullPath(), tree.path("a/b"));

    // Back up one level with the keyboard, still during the rescan.
    ASSERT_NO_FATAL_FAILURE(rescanGoingInto({"a", "b"}));
    views().radialView->setFocus(Qt::TabFocusReason);
    QTest::keyClick(views().radialView, Qt::Key_Backspace);
    ASSERT_TRUE(waitForZoom());
    ASSERT_TRUE(controller().isProcessing());
    ASSERT_TRUE(waitForScans(3));
    EXPECT_EQ(radial().root()->getFullPath(), tree.path("a"));

    // A rescan where the user stays put shows the whole folder.
    ASSERT_NO_FATAL_FAILURE(rescanGoingInto({}));
    ASSERT_TRUE(waitForScans(4));
    EXPECT_EQ(radial().root()->getFullPath(), tree.path());
}

TEST_F(MainWindowTest, ExportWritesTheSelectedScanWhereTheUserChose) {
    selectFolder(tree.path());
    EXPECT_FALSE(views().exportReportAction->isEnabled());  // nothing scanned yet
    ASSERT_TRUE(rescanned(1));
    EXPECT_TRUE(views().exportReportAction->isEnabled());

    views().exportReportAction->trigger();
    QFileDialog* panel = nullptr;
    ASSERT_TRUE(waitFor([&] { return (panel = window.findChild<QFileDialog*>()) != nullptr; }));
    const std::string out = home.path("scan report.tsv");
    panel->selectFile(QString::fromStdString(out));
    QMetaObject::invokeMethod(panel, "accept");

    // The root, its seven entries and the header, each on a line of its own.
    std::string written;
    ASSERT_TRUE(waitFor([&] {
        QFile file(QString::fromStdString(out));
        written = file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
        return std::count(written.begin(), written.end(), '\n') == 9;
    }));
    EXPECT_EQ(written.rfind("\xEF\xBB\xBFPath\t", 0), 0u);
    EXPECT_NE(written.find("\"deep.txt\""), std::string::npos);
    EXPECT_NE(written.find("notes \"quoted\".txt"), std::string::npos);
}

TEST_F(MainWindowTest, AShownWindowWithFocusGoesWithoutTouchingItsController) {
    test::TempTree otherHome;
    {
        MainWindow shown(otherHome.path(), fastTiming());
        shown.show();
        QApplication::setActiveWindow(&shown);
        shown.views().volumesList->setFocus();
        QCoreApplication::processEvents();
    }  // its closing moves the focus away once the controller is gone
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
}

TEST_F(MainWindowTest, TheDiagramFollowsTheListsAndFilesFavouritesThroughTheWindow) {
    showSized();
    ASSERT_NO_FATAL_FAILURE(scanTree());
    RadialController& radial = controller().radialController();
    ASSERT_NE(radial.host(), nullptr);
    EXPECT_EQ(radial.host()->scanningState(), ScanningStateObserver::Idle);
    ItemRef folderA = childNamed(radial.root(), "a");
    ASSERT_NE(folderA, nullptr);
    // Rows selected in the lists are outlined in the diagram.
    controller().contentsPanelSelectionChanged({folderA});
    ASSERT_EQ(radial.selectedSectors().size(), 1u);
    EXPECT_EQ(radial.selectedSectors().front().m_pItem, folderA);
    EXPECT_EQ(radial.host()->selectedListItems(), ItemList{folderA});
    // Zooming in from the diagram hands the new root to the lists too.
    radial.startDrillInAnumation(folderA);
    ASSERT_TRUE(waitFor([&] { return radial.drillState() == 0; }, 3s));
    EXPECT_EQ(radial.root(), folderA);
    // "Add Folder to Favorites" files the folder in the side panel.
    radial.host()->setFolderFavorite(folderA->getFullPath(), true);
    EXPECT_TRUE(controller().folderFiling().isFolderAtPathInFavorite(folderA->getFullPath()));
    EXPECT_TRUE(radial.host()->isFolderFavorite(folderA->getFullPath()));
}

TEST_F(MainWindowTest, AnUnscannedFolderHintCountsTheEntriesOnDisk) {
    showSized();
    RadialController& radial = controller().radialController();
    EXPECT_NE(qobject_cast<DiagramBackgroundPanel*>(views().radialView->parentWidget()), nullptr);
    // A scanned folder first, so the lists beside the diagram hold other rows.
    ASSERT_NO_FATAL_FAILURE(scanTree());
    test::TempTree fresh;
    fresh.file("one.txt", 10);
    fresh.file("line\nbreak.bin", 10);
    fresh.file("sub/inner.txt", 10);
    selectFolder(fresh.path());
    ASSERT_NE(radial.unscannedTarget(), nullptr);
    const QPointF onRing(radial.center().x() + (radial.radiusOf(0) + radial.radiusOf(1)) / 2,
                         radial.center().y());
    const SectorItem occupied = radial.getItemByPoint(onRing);
    ASSERT_EQ(occupied.marker, SectorMarker::Occupied);
    const std::optional<HintContent> hint = radial.hintForSector(occupied);
    ASSERT_TRUE(hint.has_value());
    EXPECT_EQ(hint->caption, "Items:");
    EXPECT_EQ(hint->sizeText, "3") << "two files and a folder, not what is inside the folder";
}

// The total `korvex-cli scan PATH --json` reports, -1 when it cannot be run.
std::int64_t cliTotal(const std::string& path) {
    const std::filesystem::path cli =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" /
        "cli" / "korvex-cli";
    const std::string out = test::commandOutput(test::shellQuoted(cli.string()) + " scan " +
                                                test::shellQuoted(path) + " --json");
    const std::size_t at = out.find("\"total_bytes\":");
    return at == std::string::npos ? -1 : std::stoll(out.substr(at + 14));
}

TEST_F(MainWindowTest, TheWindowCountsWhatTheCommandLineAndDuCount) {
    tree.file("b/original.bin", 200'000);
    std::filesystem::create_hard_link(tree.path("b/original.bin"), tree.path("a/link.bin"));
    ASSERT_NO_FATAL_FAILURE(scanTree());
    const std::int64_t total = selected()->scannedRoot()->gettotalsize();
    EXPECT_EQ(total, test::duBytes(tree.path()));
    EXPECT_EQ(total, cliTotal(tree.path()));
}

TEST_F(MainWindowTest, OneNodeShowsOneSizeTextInTheListsTheHintAndTheHeader) {
    showSized();
    ASSERT_NO_FATAL_FAILURE(scanTree());
    RadialController& radial = controller().radialController();
    ItemRef folderA = childNamed(radial.root(), "a");
    ASSERT_NE(folderA, nullptr);
    // Between 1000 and 1024 to the kilobyte the texts would differ.
    ASSERT_GT(folderA->gettotalsize(), 300'000);

    FolderColumnView* column = contents().folderColumns().column(0);
    ASSERT_NE(column, nullptr);
    const QString listed = rowNamed(column, "a").siblingAtColumn(1).data().toString();
    ASSERT_FALSE(listed.isEmpty());

    SectorItem sector;
    ASSERT_TRUE(radial.fillSectorItem(sector, folderA.get()));
    const std::optional<HintContent> hint = radial.hintForSector(sector);
    ASSERT_TRUE(hint.has_value());
    EXPECT_EQ(QString::fromStdString(hint->sizeText), listed);

    radial.startDrillInAnumation(folderA);
    ASSERT_TRUE(waitFor([&] { return radial.drillState() == 0; }, 3s));
    ASSERT_EQ(radial.root(), folderA);
    EXPECT_EQ(window.summaryPanel()->sizeLabel()->text(), listed);
}

}  // namespace
}  // namespace korvex
