#pragma once

#include "browse/folders/FolderItemsController.h"
#include "scan/model/CModel.h"

#include <string>
#include <vector>

namespace korvex {

// What filing a folder needs of the window: the left panel and the scan.
class FolderFilingDelegate {
  public:
    virtual ~FolderFilingDelegate() = default;
    virtual void rebuildLeftPanel() = 0;
    // Selects the panel entry of `path` and scrolls it into view.
    virtual void selectEntryWithPath(const std::string& path) = 0;
    virtual void startScanOfSelection() = 0;
    virtual bool isScanning() const = 0;
    // The path being scanned now, empty when idle.
    virtual std::string scanningPath() const = 0;
    virtual void stopScanning() = 0;
};

// The favourite and recent folder lists of the window and the user's actions
// on them: filing a folder chosen for scanning, adding and removing
// favourites, and keeping the lists right after file operations.
class FolderFiling {
  public:
    FolderFiling(CModel& model, FolderFilingDelegate& delegate);

    FFoldersController& favorites() { return mFFoldersController; }
    RecentsController& recents() { return mRecentsController; }

    // Loads both lists, each falling back to its defaults when nothing was stored.
    void initPrefParameters();
    void SavePrefParameters() const;

    void doScanFolder(const std::string& path, bool start = true);
    void addFoldersAndScanFirst(const std::vector<std::string>& paths);
    void addToFavoriteFolderWithPath(const std::string& path);
    void removeFolderFromFavoriteWithPath(const std::string& path);
    // Keeps at most `limit` recent folders from now on; the oldest that no
    // longer fit leave the left panel (a scan of one of them stops).
    void setRecentsLimit(unsigned long long limit);
    bool isFolderAtPathInFavorite(const std::string& path) const {
        return mFFoldersController.isFolderFavorite(path);
    }

    // Every volume tree and every listed folder drops the removed items.
    bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths, ItemList& resItems);
    bool updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                     const std::string& toFolder, ItemList& resItems);

  private:
    CModel& mModel;
    FolderFilingDelegate& mDelegate;
    FFoldersController mFFoldersController;
    RecentsController mRecentsController;
};

}  // namespace korvex
