#pragma once

#include "diagram/volumes/VolumeRow.h"
#include "diagram/volumes/VolumesTableDelegate.h"
#include "diagram/volumes/VolumesTableObserver.h"
#include "scan/targets/FolderItem.h"
#include "scan/tree/ItemRef.h"

#include <string>
#include <vector>

class QAction;

namespace korvex {

// The left-panel list of scan targets: volumes grouped by kind, then the
// favourite folders and the other folders, as one flat array of rows. It keeps
// the selection (one entry row at most, remembered across launches) and turns
// row clicks, keys and menu commands into calls of its delegate. It paints
// nothing; the widgets observe it.
class VolumesTableController {
  public:
    static constexpr int kGroupRowHeight = 20;
    static constexpr int kEntryRowHeight = 36;
    static constexpr int kRowSpacing = 2;
    static constexpr int kDocumentMargin = 12;

    // `homeFolder` is the folder placed at the top when it is a favourite;
    // empty means the user's own.
    explicit VolumesTableController(std::string homeFolder = {});

    void setDelegate(VolumesTableDelegate* delegate) { mDelegate = delegate; }
    void addObserver(VolumesTableObserver* observer);
    void removeObserver(VolumesTableObserver* observer);

    // ---- Rows
    void resetVolumesArray();
    void cleanVolumesArray() { resetVolumesArray(); }
    void setVolumesArray(const std::vector<TopLevelRef>& entries, bool bAddorReplace);
    void addFFolders(const std::vector<std::shared_ptr<FolderItem>>& favorites,
                     const std::vector<std::shared_ptr<FolderItem>>& others);
    void removeEmptyGroupsFromArray();
    // A mount adds `addedIem` and rebuilds the list; an unmount drops the entry at `path`.
    void volumesCountChanged(bool added, const std::string& path, const TopLevelRef& addedIem);
    void reloadData(bool keepSelection);

    const std::vector<VolumeRow>& rows() const { return mRows; }
    int numberOfRows() const { return static_cast<int>(mRows.size()); }
    int rowHeight(int row) const;
    int documentHeight() const { return mDocumentHeight; }
    const std::string& homeFolder() const { return mHomeFolder; }

    // ---- Selection
    // The selected entry's path, else the stored one, else the home folder.
    std::string getSelectedVolume() const;
    TopLevelRef getObjectForSelectedRow() const;
    const VolumeRow* getItemByRow(int row) const;
    bool isGroupRow(int row) const;
    bool isRowValid(int row) const;
    int selectedRow() const { return mSelectedRow; }
    bool shouldSelectRow(int row) const { return isRowValid(row) && !isGroupRow(row); }
    // Selects an entry row (answers false, changing nothing, for a header);
    // -1 clears the selection.
    bool selectRow(int row);
    bool selectVolumeByName(const std::string& path);
    void selectVolumeByNameOrAny(const std::string& path);
    void selectOneifnotSelected();
    TopLevelRef selectHomeFolder();
    void makeSelectedVolumeVisible();
    int rowOfPath(const std::string& path) const;

    // ---- Scan results and control
    // Answers whether an entry with the root's path was found.
    bool setScannedRootInfo(const FolderRef& root, std::int64_t state);
    void setScannedRoot(const FolderRef& root, const TopLevelRef& entry);
    bool hasProccessingVolume() const;
    void startScanItem(int row);
    void stopScanItem(int row);
    // A double-click: stops the row's scan when it runs, else starts one.
    void doubleTabAction(int row);
    // The row's own button: starts, stops or rescans by the entry's state.
    void scanButtonAction(int row);

    // ---- Keyboard and menu commands on the selected row
    void setHasKeyboardFocus(bool focused) { mHasKeyboardFocus = focused; }
    bool hasKeyboardFocus() const { return mHasKeyboardFocus; }
    // Codes 0 reveal, 1 preview, 2 properties; a given menu item is enabled to match.
    bool canPerformMainMenuAction(int code, QAction* menuItem) const;
    bool performMainMenuAction(int code);
    // A Qt key code; answers whether the key was used.
    bool processKeyDownWith(int key);

  private:
    template <typename Change>
    void changeRows(Change change);
    void insertVolume(const TopLevelRef& entry);
    void appendFolderSections();
    void applySelection();
    void recomputeDocumentHeight();
    std::vector<TopLevelRef> volumeEntries() const;

    std::string mHomeFolder;
    VolumesTableDelegate* mDelegate = nullptr;
    std::vector<VolumesTableObserver*> mObservers;
    std::vector<VolumeRow> mRows;
    std::vector<std::shared_ptr<FolderItem>> mFavorites;
    std::vector<std::shared_ptr<FolderItem>> mOthers;
    int mSelectedRow = -1;
    TopLevelRef mAppliedEntry;
    int mDocumentHeight = kDocumentMargin;
    bool mHasKeyboardFocus = false;
};

}  // namespace korvex
