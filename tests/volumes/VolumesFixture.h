#pragma once

#include "diagram/volumes/VolumesTableController.h"
#include "scan/targets/FolderItem.h"
#include "scan/targets/VolumeItem.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korvex::test {

inline constexpr const char* kHome = "/home/tester";

// Volumes at paths that are no mount points, so only the facts set here count.
inline std::shared_ptr<VolumeItem> makeVolume(const std::string& path, const std::string& protocol,
                                              std::int32_t mediaClass = 0) {
    auto volume = std::make_shared<VolumeItem>(path, path.substr(path.rfind('/') + 1),
                                               500'000'000'000, 120'000'000'000, 1000);
    volume->DADeviceProtocol = protocol;
    volume->mMediaClass = mediaClass;
    volume->bInternal = protocol == "SATA" || protocol == "NVMe" ? 1 : 0;
    volume->writeble = true;
    return volume;
}

// A volume mounted over the network: no device, a network file-system type.
inline std::shared_ptr<VolumeItem> makeNetworkVolume(const std::string& path) {
    auto volume = makeVolume(path, "");
    volume->DAVolumeKind = "nfs4";
    return volume;
}

inline std::shared_ptr<FolderItem> makeFolder(const std::string& path) {
    return std::make_shared<FolderItem>(path, path.substr(path.rfind('/') + 1));
}

// Records what the list asked of its window.
struct RecordingDelegate : VolumesTableDelegate {
    void didSelectionChange(const TopLevelRef& entry) override { selections.push_back(entry); }
    void startScanAction() override { ++starts; }
    void stopScanAction() override { ++stops; }
    bool isProcessing() const override { return processing; }
    void removeChildrenOfFolderItem(const TopLevelRef& entry) override {
        droppedRoots.push_back(entry);
    }
    void performEntryCommand(int code, const TopLevelRef& entry) override {
        commands.emplace_back(code, entry);
    }

    std::vector<TopLevelRef> selections;
    int starts = 0;
    int stops = 0;
    bool processing = false;
    std::vector<TopLevelRef> droppedRoots;
    std::vector<std::pair<int, TopLevelRef>> commands;
};

// A controller filled the way the window fills it, over a private settings file.
class VolumesFixture : public ::testing::Test {
  protected:
    VolumesFixture() { controller.setDelegate(&delegate); }

    void fill(const std::vector<TopLevelRef>& volumes,
              const std::vector<std::shared_ptr<FolderItem>>& favorites,
              const std::vector<std::shared_ptr<FolderItem>>& others) {
        controller.setVolumesArray(volumes, false);
        controller.addFFolders(favorites, others);
        controller.reloadData(false);
    }

    // Rows as text: "[Title]" for a header, the path for an entry.
    std::vector<std::string> layout() const {
        std::vector<std::string> rows;
        for (const VolumeRow& row : controller.rows()) {
            rows.push_back(row.isGroup() ? "[" + row.group->groupName + "]" : row.entry->getPath());
        }
        return rows;
    }

    TempSettings settings;
    RecordingDelegate delegate;
    VolumesTableController controller{kHome};
};

}  // namespace korvex::test
