#include "MainWindowFixture.h"

#include "app/window/SavedScansController.h"
#include "browse/changes/ChangesListView.h"
#include "cleanup/collection/views/CollectionWindowViews.h"
#include "diagram/ChangeLegend.h"
#include "diagram/DiagramColors.h"
#include "platform/HostName.h"
#include "scan/format/SizeFormatter.h"
#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanWriter.h"
#include "scan/saved/ScanFile.h"
#include "support/ScopedVariable.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>
#include <fstream>

namespace korvex {
namespace {

namespace fs = std::filesystem;

class SavedScanWindowTest : public MainWindowTest {
  protected:
    SavedScansController& saved() { return controller().savedScans(); }
    ScanSummaryPanel& summary() { return *window.summaryPanel(); }

    // Scans the test tree and keeps the scan in a file of the scratch home.
    std::string scanAndSave(const std::string& name = "tree.korvexscan") {
        scanTree();
        const std::string file = home.path(name);
        EXPECT_EQ(saved().saveShownScan(file), std::nullopt);
        return file;
    }

    // A node's sector and the colour a grab of the diagram shows in its middle.
    struct Spot {
        int level = 0;
        double start = 0;
        double delta = 0;
        QColor colour;
    };
    Spot spotOf(const ItemRef& node) {
        SectorItem sector;
        EXPECT_TRUE(radial().fillSectorItem(sector, node.get()));
        Spot spot{
            sector.m_nSubLevel,
            sector.m_dSkAngle,
            static_cast<double>(node->gettotalsize()) / static_cast<double>(radial().totalSize()),
            {}};
        const double fraction = spot.start + spot.delta / 2;
        const double r = (radial().radiusOf(spot.level - 1) + radial().radiusOf(spot.level)) / 2;
        const QPointF centre = radial().center();
        const QPointF at(centre.x() + r * std::sin(2 * M_PI * fraction),
                         centre.y() - r * std::cos(2 * M_PI * fraction));
        const QImage shot = views().radialView->grab().toImage();
        spot.colour = shot.pixelColor((at * shot.devicePixelRatio()).toPoint());
        return spot;
    }

    void showWindow() {
        window.show();
        ASSERT_TRUE(waitFor([&] { return window.isVisible(); }));
        QCoreApplication::processEvents();
    }
};

TEST_F(SavedScanWindowTest, AnOpenedScanShowsItsTreeWithoutTheDiskAndSaysWhereItIsFrom) {
    const std::string file = scanAndSave();
    const std::int64_t total = selected()->scannedRoot()->gettotalsize();
    // What the scan saw is gone from the disk: the saved scan still shows it.
    fs::remove_all(tree.path("a"));

    controller().openScanFile(file);
    const ItemRef shown = radial().root();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->getFullPath(), tree.path());
    EXPECT_EQ(shown->gettotalsize(), total);
    EXPECT_NE(childNamed(childNamed(shown, "a"), "big.bin"), nullptr);
    EXPECT_EQ(controller().volumesController().selectedRow(), -1);
    const QString note = summary().sourceNoteLabel()->text();
    EXPECT_TRUE(summary().sourceNoteLabel()->isVisibleTo(&window));
    EXPECT_TRUE(note.startsWith(
        QString::fromStdString("Saved scan of " + platform::hostName() + ":" + tree.path() + ", ")))
        << note.toStdString();
    EXPECT_EQ(window.windowTitle(), note);
    // The lists and the biggest files are the saved tree's.
    EXPECT_EQ(views().rightStack->currentWidget(), views().rightPanelWidget);
    const ItemList biggest = views().contentsPanel->biggestFilesController().displayFiles();
    ASSERT_FALSE(biggest.empty());
    EXPECT_EQ(biggest.front()->name(), "big.bin");
    EXPECT_TRUE(window.saveScanAction()->isEnabled());
    // Nothing is dragged out as a file: its path may name another file here.
    EXPECT_FALSE(views().contentsPanel->biggestFilesView().dragEnabled());
    EXPECT_FALSE(views().radialView->fileDragsEnabled());

    // Choosing a target again leaves the saved scan.
    controller().volumesController().selectVolumeByName(tree.path());
    EXPECT_FALSE(summary().sourceNoteLabel()->isVisibleTo(&window));
    EXPECT_EQ(radial().root(), ItemRef(selected()->scannedRoot()));
    EXPECT_TRUE(views().contentsPanel->biggestFilesView().dragEnabled());
    EXPECT_TRUE(views().radialView->fileDragsEnabled());
}

TEST_F(SavedScanWindowTest, DamagedFilesAreRefusedWithWhatIsWrongAndChangeNothing) {
    scanTree();
    const ItemRef before = radial().root();
    const std::string file = home.file("broken.korvexscan", 0);
    { std::ofstream(file, std::ios::binary) << "KORVEXSC\x02"; }
    controller().openScanFile(file);
    auto* box = qobject_cast<QMessageBox*>(saved().currentAlert());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "The scan could not be opened");
    EXPECT_TRUE(box->informativeText().contains("byte")) << box->informativeText().toStdString();
    box->close();
    EXPECT_EQ(radial().root(), before);
    EXPECT_FALSE(summary().sourceNoteLabel()->isVisibleTo(&window));
}

TEST_F(SavedScanWindowTest, RemovalIsRefusedForAnotherMachinesScanAndForReplacedItems) {
    // An export made on another machine, without any identities.
    scanTree();
    const FolderRef live = selected()->scannedRoot();
    SavedScan foreign = savedScanOf(live, 4, {}, 0, false);
    foreign.host = "build-server";
    const std::string exported = home.path("server.json");
    { std::ofstream(exported, std::ios::binary) << encodeNcduExport(foreign); }
    controller().openScanFile(exported);
    EXPECT_TRUE(summary().sourceNoteLabel()->text().startsWith("Saved scan of build-server:"));

    const ItemRef big = childNamed(childNamed(radial().root(), "a"), "big.bin");
    ASSERT_NE(big, nullptr);
    controller().collection().addItemsToCollection({big});
    controller().collection().performMainMenuAction(5);  // Move to Trash
    auto* box = qobject_cast<QMessageBox*>(controller().collectionViews().currentAlert());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Cannot remove the selected files");
    EXPECT_TRUE(box->informativeText().contains("\"build-server\""))
        << box->informativeText().toStdString();
    box->close();
    EXPECT_TRUE(fs::exists(tree.path("a/big.bin")));

    // A scan saved here vouches for its items while they are what it saw.
    const std::string file = home.path("here.korvexscan");
    ASSERT_EQ(writeSavedScan(savedScanOf(live, 4, {}, 0, false), file), std::nullopt);
    controller().openScanFile(file);
    // The other scan's items left the collection with it.
    EXPECT_FALSE(controller().collection().canPerformMainMenuAction(5));
    const ItemRef notes = childNamed(radial().root(), "notes \"quoted\".txt");
    const ItemRef deep = childNamed(childNamed(radial().root(), "a"), "b");
    EXPECT_EQ(controller().refusalForItems({notes, deep}), std::nullopt);
    tree.file("replacement", 12'000);
    fs::rename(tree.path("replacement"), tree.path("notes \"quoted\".txt"));
    const auto refusal = controller().refusalForItems({notes});
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("replaced"), std::string::npos) << *refusal;

    // Compared with another machine's scan, the note says whose it is.
    ASSERT_TRUE(saved().compareWithFile(exported));
    EXPECT_TRUE(summary().sourceNoteLabel()->text().contains(
        QString::fromStdString("\nCompared with the scan of build-server:" + tree.path() + ", ")))
        << summary().sourceNoteLabel()->text().toStdString();
}

TEST_F(SavedScanWindowTest, ComparisonColoursGrowthAndShrinkageAndListsTheChanges) {
    tree.file("shrinks.bin", 400'000);
    tree.file("a/b/c/more.bin", 50'000);
    const std::string older = scanAndSave("older.korvexscan");
    tree.file("a/big.bin", 900'000);
    tree.file("shrinks.bin", 100'000);
    tree.file("fresh/new.bin", 200'000);
    fs::remove_all(tree.path("a/b"));
    ASSERT_TRUE(rescanned(2));
    showWindow();

    ASSERT_TRUE(saved().compareWithFile(older));
    ASSERT_TRUE(saved().isComparing());
    // The same folder on the same machine: the date says enough.
    const QString note = summary().sourceNoteLabel()->text();
    EXPECT_TRUE(note.startsWith("Compared with the scan of ")) << note.toStdString();
    EXPECT_FALSE(note.contains(QString::fromStdString(tree.path()))) << note.toStdString();
    const ItemRef root = radial().root();
    const ItemRef fresh = childNamed(root, "fresh");
    const ItemRef shrinks = childNamed(root, "shrinks.bin");
    const ItemRef a = childNamed(root, "a");
    ASSERT_TRUE(fresh && shrinks && a);

    // Growth is red, shrinkage blue, in the diagram's own pixels.
    const QColor grown = spotOf(fresh).colour;
    const QColor shrunk = spotOf(shrinks).colour;
    EXPECT_GT(grown.red(), grown.blue() + 60) << grown.name().toStdString();
    EXPECT_GT(shrunk.blue(), shrunk.red() + 60) << shrunk.name().toStdString();
    ASSERT_NE(saved().legend(), nullptr);
    EXPECT_TRUE(saved().legend()->isVisible());
    EXPECT_TRUE(saved().legend()->title().startsWith("Change since "));

    // The hint tells what the folder was and is.
    SectorItem sector;
    ASSERT_TRUE(radial().fillSectorItem(sector, a.get()));
    const std::optional<HintContent> hint = radial().hintForSector(sector);
    ASSERT_TRUE(hint);
    const std::int64_t was = *saved().comparison()->oldSizeOf(a.get());
    const std::string expected = "Was " + sizeString(was) + ", now " +
                                 sizeString(a->gettotalsize()) + " (" +
                                 signedSizeString(a->gettotalsize() - was) + ")";
    EXPECT_NE(hint->note.find(expected), std::string::npos) << hint->note;

    // The Changes list: biggest first, the new and the vanished folder whole.
    ChangesListModel& changes = saved().changesList()->changes();
    ASSERT_GE(changes.rowCount(), 4);
    auto rowOf = [&](const std::string& relative) {
        for (int row = 0; row < changes.rowCount(); ++row) {
            if (changes.changeAt(row).path == tree.path(relative)) {
                return row;
            }
        }
        return -1;
    };
    const int bigRow = rowOf("a/big.bin");
    const int freshRow = rowOf("fresh");
    const int goneRow = rowOf("a/b");
    ASSERT_TRUE(bigRow >= 0 && freshRow >= 0 && goneRow >= 0);
    EXPECT_LT(bigRow, freshRow);
    EXPECT_EQ(changeKindText(changes.changeAt(freshRow)), "New folder");
    EXPECT_EQ(changeKindText(changes.changeAt(goneRow)), "Vanished folder");
    EXPECT_LT(changes.changeAt(goneRow).delta(), -50'000);
    EXPECT_EQ(changes.data(changes.index(freshRow, ChangesListModel::ItemColumn), Qt::DisplayRole)
                  .toString(),
              "/fresh");
    EXPECT_EQ(changes.nodeAt(goneRow), nullptr);
    EXPECT_EQ(changes.nodeAt(freshRow), fresh);
    EXPECT_TRUE(views().contentsPanel->changesSwitch().isVisible());
    EXPECT_TRUE(views().contentsPanel->changesSwitch().isChecked());

    // Ending the comparison gives the diagram its usual colours back.
    saved().stopComparing();
    EXPECT_FALSE(views().contentsPanel->changesSwitch().isVisible());
    EXPECT_FALSE(saved().legend()->isVisible());
    const Spot usual = spotOf(fresh);
    const QColor hue =
        DiagramColors::shared().sectorFill(ColorNormal, usual.level, usual.start, usual.delta, 1.0);
    EXPECT_LE(std::abs(usual.colour.red() - hue.red()) +
                  std::abs(usual.colour.green() - hue.green()) +
                  std::abs(usual.colour.blue() - hue.blue()),
              12)
        << usual.colour.name().toStdString() << " " << hue.name().toStdString();
    EXPECT_EQ(radial().hintForSector(sector)->note.find("Was "), std::string::npos);
}

TEST_F(SavedScanWindowTest, HistoryIsKeptOnlyWhenAskedAndComparesWithThePreviousScan) {
    test::TempTree data;
    test::ScopedVariable dataHome("XDG_DATA_HOME", data.path());
    scanTree();
    EXPECT_FALSE(fs::exists(data.path("korvex/scans"))) << "off unless the user asks";

    Settings::setKeepScanHistory(true);
    ASSERT_TRUE(rescanned(2));
    ASSERT_EQ(saved().history().scansOf(tree.path()).size(), 1u);
    // Kept for comparing only: without entry identities, nothing of a kept
    // scan could be removed from the window.
    const SavedScanResult kept = readScanFile(saved().history().scansOf(tree.path()).front());
    ASSERT_TRUE(kept.scan) << kept.error;
    EXPECT_EQ(kept.scan->identities, nullptr);
    // The only kept scan is this one: there is nothing before it.
    EXPECT_FALSE(saved().canCompareWithPrevious());

    tree.file("later.bin", 70'000);
    // Kept scans are named by the second they were made in.
    std::this_thread::sleep_for(1100ms);
    ASSERT_TRUE(rescanned(3));
    ASSERT_EQ(saved().history().scansOf(tree.path()).size(), 2u);
    ASSERT_TRUE(window.comparePreviousAction()->isEnabled());
    window.comparePreviousAction()->trigger();
    ASSERT_TRUE(saved().isComparing());
    EXPECT_TRUE(summary().sourceNoteLabel()->text().startsWith("Compared with the scan of "));
    ChangesListModel& changes = saved().changesList()->changes();
    ASSERT_GE(changes.rowCount(), 1);
    EXPECT_EQ(changes.changeAt(0).path, tree.path("later.bin"));
    EXPECT_EQ(changeKindText(changes.changeAt(0)), "New file");
    EXPECT_EQ(changes.changeAt(0).newBytes,
              selected()->scannedRoot()->getItemByFilePath(tree.path("later.bin"))->gettotalsize());
}

}  // namespace
}  // namespace korvex
