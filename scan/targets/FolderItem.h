#pragma once

#include "scan/targets/TopLevelItem.h"

namespace korvex {

// A folder the user added as a scan target; it has no capacity of its own.
class FolderItem : public TopLevelItem {
  public:
    FolderItem(std::string path, std::string name)
        : TopLevelItem(std::move(path), std::move(name), 0, 0, 0) {}

    bool isFolder() const override { return true; }
    bool isNotScannedFolder() const override { return aFiles.empty(); }
};

}  // namespace korvex
