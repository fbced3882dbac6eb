#include "VolumesFixture.h"

#include "diagram/volumes/CachedSelectedVolumeName.h"
#include "support/MemoryTree.h"

#include <QAction>

namespace korvex::test {
namespace {

using Rows = std::vector<std::string>;

class VolumesGrouping : public VolumesFixture {};

TEST_F(VolumesGrouping, VolumesOfOneKindShareAGroupAndOtherKindsGetTheirOwn) {
    fill({makeVolume("/", "SATA"), makeVolume("/media/a", "USB"),
          makeVolume("/media/img", "Virtual Interface"), makeNetworkVolume("/mnt/nas"),
          makeVolume("/media/b", "USB"), makeVolume("/media/dvd", "SATA", 2)},
         {}, {});
    EXPECT_EQ(layout(), (Rows{"[Devices]", "/", "[External Disks]", "/media/a", "/media/b",
                              "[Disk Images]", "/media/img", "[Network Disks]", "/mnt/nas",
                              "[Optical Disks]", "/media/dvd", "[Folders]"}));
    EXPECT_EQ(controller.getItemByRow(0)->group->_sectionKind, kVolumeSection);
    EXPECT_TRUE(controller.getItemByRow(2)->group->writeble);
}

TEST_F(VolumesGrouping, AddingWithoutReplaceKeepsRowsAndReplaceStartsOver) {
    controller.setVolumesArray({makeVolume("/media/a", "USB")}, false);
    controller.setVolumesArray({makeVolume("/media/b", "USB"), makeFolder("/srv")}, false);
    EXPECT_EQ(layout(), (Rows{"[External Disks]", "/media/a", "/media/b"}));
    controller.setVolumesArray({makeNetworkVolume("/mnt/nas")}, true);
    EXPECT_EQ(layout(), (Rows{"[Network Disks]", "/mnt/nas"}));
    controller.cleanVolumesArray();
    EXPECT_TRUE(controller.rows().empty());
}

TEST_F(VolumesGrouping, HomeFolderAloneGoesToTheTopWithoutFavoritesHeader) {
    fill({makeVolume("/", "SATA")}, {makeFolder(kHome)}, {});
    EXPECT_EQ(layout(), (Rows{kHome, "[Devices]", "/", "[Folders]"}));
}

TEST_F(VolumesGrouping, FavoritesBesideHomeKeepTheirHeaderAndOrder) {
    fill({makeVolume("/", "SATA")},
         {makeFolder("/data/photos"), makeFolder(kHome), makeFolder("/data/music")},
         {makeFolder("/tmp/x"), makeFolder("/tmp/y")});
    EXPECT_EQ(layout(), (Rows{kHome, "[Devices]", "/", "[Favorite folders]", "/data/photos",
                              "/data/music", "[Folders]", "/tmp/x", "/tmp/y"}));
    EXPECT_EQ(controller.getItemByRow(3)->group->_sectionKind, kFavoriteFoldersSection);
    EXPECT_EQ(controller.getItemByRow(6)->group->_sectionKind, kFoldersSection);
}

class VolumesMounts : public VolumesFixture {};

TEST_F(VolumesMounts, UnmountOfTheLastVolumeOfAGroupDropsItsHeader) {
    fill({makeVolume("/", "SATA"), makeVolume("/media/a", "USB")}, {makeFolder(kHome)}, {});
    controller.volumesCountChanged(false, "/media/a", nullptr);
    EXPECT_EQ(layout(), (Rows{kHome, "[Devices]", "/", "[Folders]"}));
}

TEST_F(VolumesMounts, UnmountOfAnotherVolumeKeepsTheSelectedEntry) {
    fill({makeVolume("/media/a", "USB"), makeVolume("/", "SATA")}, {}, {makeFolder("/srv")});
    ASSERT_TRUE(controller.selectVolumeByName("/srv"));
    std::size_t notified = delegate.selections.size();
    controller.volumesCountChanged(false, "/media/a", nullptr);
    EXPECT_EQ(controller.getSelectedVolume(), "/srv");
    EXPECT_EQ(delegate.selections.size(), notified);
}

TEST_F(VolumesMounts, MountAddsTheVolumeToItsGroupAndKeepsFolders) {
    fill({makeVolume("/media/a", "USB")}, {makeFolder(kHome), makeFolder("/data")}, {});
    controller.selectVolumeByName("/data");
    controller.volumesCountChanged(true, "/media/b", makeVolume("/media/b", "USB"));
    EXPECT_EQ(layout(), (Rows{kHome, "[External Disks]", "/media/a", "/media/b",
                              "[Favorite folders]", "/data", "[Folders]"}));
    EXPECT_EQ(controller.getSelectedVolume(), "/data");
}

class VolumesSelection : public VolumesFixture {};

TEST_F(VolumesSelection, HeadersAreRefused) {
    fill({makeVolume("/", "SATA")}, {}, {});
    EXPECT_FALSE(controller.shouldSelectRow(0));
    EXPECT_FALSE(controller.selectRow(0));
    EXPECT_FALSE(controller.selectRow(99));
    EXPECT_EQ(controller.selectedRow(), -1);
    EXPECT_TRUE(controller.selectRow(1));
    EXPECT_EQ(controller.getObjectForSelectedRow()->getPath(), "/");
}

TEST_F(VolumesSelection, ClearingTheSelectionForgetsTheStoredPath) {
    fill({makeVolume("/", "SATA")}, {}, {});
    controller.selectRow(1);
    ASSERT_EQ(CachedSelectedVolumeName::load(), "/");
    controller.selectRow(-1);
    EXPECT_FALSE(CachedSelectedVolumeName::load().has_value());
    EXPECT_EQ(delegate.selections.back(), nullptr);
    // Nothing selected and nothing stored: the home folder is the answer.
    EXPECT_EQ(controller.getSelectedVolume(), kHome);
}

TEST_F(VolumesSelection, StoredSelectionIsRestoredByANewController) {
    fill({makeVolume("/", "SATA"), makeVolume("/media/a", "USB")}, {}, {});
    controller.selectVolumeByName("/media/a");
    TempSettings::forgetAll();  // as after a restart

    VolumesTableController next(kHome);
    next.setVolumesArray({makeVolume("/", "SATA"), makeVolume("/media/a", "USB")}, false);
    next.addFFolders({}, {});
    EXPECT_EQ(next.getSelectedVolume(), "/media/a");
    next.selectVolumeByNameOrAny(next.getSelectedVolume());
    EXPECT_EQ(next.getObjectForSelectedRow()->getPath(), "/media/a");
}

TEST_F(VolumesSelection, UnknownPathFallsBackToTheFirstEntry) {
    fill({makeVolume("/", "SATA")}, {makeFolder(kHome)}, {});
    EXPECT_FALSE(controller.selectVolumeByName("/gone"));
    controller.selectVolumeByNameOrAny("/gone");
    EXPECT_EQ(controller.selectedRow(), 0);
    EXPECT_EQ(controller.getObjectForSelectedRow()->getPath(), kHome);
}

TEST_F(VolumesSelection, SelectionLeftOnAHeaderMovesToTheRowAbove) {
    fill({makeVolume("/", "SATA"), makeVolume("/media/a", "USB"), makeVolume("/media/b", "USB"),
          makeNetworkVolume("/mnt/nas")},
         {}, {});
    ASSERT_TRUE(controller.selectVolumeByName("/media/b"));  // row 4
    controller.volumesCountChanged(false, "/media/b", nullptr);
    // Row 4 is now the "Network Disks" header; the selection goes up to the row above.
    EXPECT_EQ(layout()[4], "[Network Disks]");
    EXPECT_EQ(controller.getObjectForSelectedRow()->getPath(), "/media/a");
    EXPECT_EQ(delegate.selections.back()->getPath(), "/media/a");
    EXPECT_EQ(CachedSelectedVolumeName::load(), "/media/a");
}

TEST_F(VolumesSelection, SelectionPastTheEndGoesToTheFirstEntry) {
    fill({makeVolume("/", "SATA"), makeVolume("/media/a", "USB")}, {}, {});
    ASSERT_TRUE(controller.selectVolumeByName("/media/a"));  // the last entry
    controller.volumesCountChanged(false, "/media/a", nullptr);
    EXPECT_EQ(controller.getObjectForSelectedRow()->getPath(), "/");
}

TEST_F(VolumesSelection, ReloadKeepingSelectionFollowsTheEntry) {
    fill({makeVolume("/", "SATA")}, {}, {makeFolder("/srv")});
    controller.selectVolumeByName("/srv");
    controller.setVolumesArray({makeVolume("/media/a", "USB")}, false);
    controller.reloadData(true);
    EXPECT_EQ(controller.getObjectForSelectedRow()->getPath(), "/srv");
}

class VolumesScanning : public VolumesFixture {};

TEST_F(VolumesScanning, ScanResultReachesTheEntryOfItsPath) {
    auto folder = makeFolder("/srv");
    fill({makeVolume("/", "SATA")}, {}, {folder});
    FolderRef first = memoryRoot("/srv");
    EXPECT_TRUE(controller.setScannedRootInfo(first, TopLevelItem::Scanning));
    EXPECT_EQ(folder->scannedRoot(), first);
    EXPECT_EQ(folder->scanningState(), TopLevelItem::Scanning);
    EXPECT_TRUE(delegate.droppedRoots.empty());

    // The same root again changes only the state; a new root drops the old one's items first.
    controller.setScannedRootInfo(first, TopLevelItem::Scanned);
    EXPECT_TRUE(delegate.droppedRoots.empty());
    controller.setScannedRootInfo(memoryRoot("/srv"), TopLevelItem::Cancelled);
    ASSERT_EQ(delegate.droppedRoots.size(), 1u);
    EXPECT_EQ(delegate.droppedRoots[0], folder);
    EXPECT_EQ(folder->scanningState(), TopLevelItem::Cancelled);

    EXPECT_FALSE(controller.setScannedRootInfo(memoryRoot("/elsewhere"), TopLevelItem::Scanned));
    EXPECT_FALSE(controller.setScannedRootInfo(nullptr, TopLevelItem::Scanned));
}

TEST_F(VolumesScanning, VolumeWinsOverAFolderOfTheSamePath) {
    auto volume = makeVolume("/media/a", "USB");
    auto folder = makeFolder("/media/a");
    fill({volume}, {}, {folder});
    controller.setScannedRootInfo(memoryRoot("/media/a"), TopLevelItem::Scanned);
    EXPECT_TRUE(volume->isScanned());
    EXPECT_FALSE(folder->isScanned());
}

class VolumesCommands : public VolumesFixture {};

TEST_F(VolumesCommands, MenuCommandsNeedFocusASelectionAndAKnownCode) {
    fill({makeVolume("/", "SATA")}, {}, {});
    controller.selectRow(1);
    QAction action(QStringLiteral("Reveal"));
    EXPECT_FALSE(controller.canPerformMainMenuAction(0, &action));
    EXPECT_FALSE(action.isEnabled());

    controller.setHasKeyboardFocus(true);
    EXPECT_TRUE(controller.canPerformMainMenuAction(0, &action));
    EXPECT_TRUE(action.isEnabled());
    EXPECT_TRUE(controller.canPerformMainMenuAction(2, nullptr));
    EXPECT_FALSE(controller.canPerformMainMenuAction(3, nullptr));
    EXPECT_FALSE(controller.canPerformMainMenuAction(-1, nullptr));

    EXPECT_TRUE(controller.performMainMenuAction(2));
    EXPECT_FALSE(controller.performMainMenuAction(5));
    ASSERT_EQ(delegate.commands.size(), 1u);
    EXPECT_EQ(delegate.commands[0].first, 2);
    EXPECT_EQ(delegate.commands[0].second->getPath(), "/");

    controller.selectRow(-1);
    EXPECT_FALSE(controller.performMainMenuAction(0));
}

}  // namespace
}  // namespace korvex::test
