#pragma once

#include <string>
#include <vector>

namespace korvex {

// What start-up requests need from the main window controller.
class ScanRequestTarget {
  public:
    virtual ~ScanRequestTarget() = default;
    virtual void startHomeFolder() = 0;
    // A home-folder start that keeps the previous result when `soft` is true.
    virtual void softStartHomeFolder(bool soft) = 0;
    virtual void doScanFolder(const std::string& path) = 0;
    virtual void startScanRootVolume() = 0;
    virtual void switchToBiggestTab() = 0;
    virtual void addFoldersAndScanFirst(const std::vector<std::string>& paths) = 0;
    // A file handed over instead of a folder: a scan kept in a file.
    virtual void openScanFile(const std::string& path) = 0;
};

}  // namespace korvex
