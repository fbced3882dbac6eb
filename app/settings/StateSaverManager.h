#pragma once

#include "scan/targets/TopLevelItem.h"
#include "scan/tree/FileSystemItem.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// Where the user was inside one scan target.
struct VolumeState {
    explicit VolumeState(std::string targetPath) : rootPath(std::move(targetPath)) {}

    void saveWithDigramRoot(std::optional<std::string> diagramRoot,
                            std::optional<std::string> longest,
                            std::vector<std::string> selectedItems) {
        digramRootPath = std::move(diagramRoot);
        longestPath = std::move(longest);
        selectedFiles = std::move(selectedItems);
    }

    std::string rootPath;
    std::optional<std::string> longestPath;
    std::vector<std::string> selectedFiles;
    ItemRef activeItem;
    std::optional<std::string> digramRootPath;
};

// Remembers, in memory only, the view state of each scanned target so that
// returning to a target shows the same folder again. Main thread only.
class StateSaverManager {
  public:
    VolumeState* getStateObjectForRoot(FileSystemItem* item);
    void saveRoot(FileSystemItem* item);
    void resetForRoot(FileSystemItem* item);
    // The folder to show when the user returns to `item`: the remembered one
    // when it still exists, else the scanned root; nothing for a target never
    // scanned (the caller shows the target itself).
    FolderSystemItem* restoreRootForTopLevelItem(const TopLevelItem& item);

  private:
    static std::string targetPathOf(FileSystemItem& item);

    std::map<std::string, std::unique_ptr<VolumeState>> volumesRootCache;
};

}  // namespace korvex
