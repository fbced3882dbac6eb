#include "diagram/volumes/VolumesTableController.h"

#include "diagram/volumes/CachedSelectedVolumeName.h"
#include "diagram/volumes/RowScanButton.h"
#include "diagram/volumes/VolumesTableLocalizable.h"
#include "platform/UserFolders.h"
#include "scan/targets/VolumeGrouping.h"
#include "scan/targets/VolumeItem.h"
#include "scan/tree/FolderSystemItem.h"

#include <QAction>

#include <algorithm>

namespace korvex {

namespace {
constexpr int kCommandReveal = 0;
constexpr int kCommandPreview = 1;
constexpr int kCommandInfo = 2;

std::shared_ptr<VolumeItemGrop> makeSection(const platform::TextEntry& title, std::int64_t kind) {
    auto group = std::make_shared<VolumeItemGrop>();
    group->groupName = VolumesTableLocalizable::text(title);
    group->_sectionKind = kind;
    return group;
}
}  // namespace

VolumesTableController::VolumesTableController(std::string homeFolder)
    : mHomeFolder(homeFolder.empty() ? platform::UserFolders::current().home()
                                     : std::move(homeFolder)) {}

void VolumesTableController::addObserver(VolumesTableObserver* observer) {
    if (std::find(mObservers.begin(), mObservers.end(), observer) == mObservers.end()) {
        mObservers.push_back(observer);
    }
}

void VolumesTableController::removeObserver(VolumesTableObserver* observer) {
    std::erase(mObservers, observer);
}

// Every change of the row array goes through here so that a list model over
// the rows never sees them change unannounced.
template <typename Change>
void VolumesTableController::changeRows(Change change) {
    for (VolumesTableObserver* observer : mObservers) {
        observer->rowsWillChange();
    }
    change();
    if (mSelectedRow >= numberOfRows()) {
        mSelectedRow = -1;
    }
    recomputeDocumentHeight();
    for (VolumesTableObserver* observer : mObservers) {
        observer->rowsDidChange();
    }
}

void VolumesTableController::resetVolumesArray() {
    changeRows([this] { mRows.clear(); });
}

void VolumesTableController::setVolumesArray(const std::vector<TopLevelRef>& entries,
                                             bool bAddorReplace) {
    changeRows([&] {
        if (bAddorReplace) {
            mRows.clear();
        }
        for (const TopLevelRef& entry : entries) {
            insertVolume(entry);
        }
    });
}

void VolumesTableController::insertVolume(const TopLevelRef& entry) {
    const auto* volume = dynamic_cast<const VolumeItem*>(entry.get());
    if (volume == nullptr) {
        return;
    }
    for (auto it = mRows.rbegin(); it != mRows.rend(); ++it) {
        const auto* other = dynamic_cast<const VolumeItem*>(it->entry.get());
        if (other != nullptr && other->ifHavetheSameChars(*volume)) {
            mRows.insert(it.base(), VolumeRow{nullptr, entry});
            return;
        }
    }
    auto group = std::make_shared<VolumeItemGrop>();
    group->removable = volume->removable;
    group->writeble = volume->writeble;
    group->unmountable = volume->unmountable;
    group->groupName = getGroupNameForItem(*volume);
    group->_sectionKind = kVolumeSection;
    mRows.push_back(VolumeRow{std::move(group), nullptr});
    mRows.push_back(VolumeRow{nullptr, entry});
}

void VolumesTableController::addFFolders(const std::vector<std::shared_ptr<FolderItem>>& favorites,
                                         const std::vector<std::shared_ptr<FolderItem>>& others) {
    mFavorites = favorites;
    mOthers = others;
    changeRows([this] { appendFolderSections(); });
}

void VolumesTableController::appendFolderSections() {
    if (!mFavorites.empty()) {
        std::size_t headerIndex = mRows.size();
        mRows.push_back(VolumeRow{
            makeSection(VolumesTableLocalizable::kFavoriteFolders, kFavoriteFoldersSection),
            nullptr});
        bool homeFound = false;
        for (const auto& folder : mFavorites) {
            if (folder == nullptr) {
                continue;
            }
            if (folder->getPath() == mHomeFolder && !homeFound) {
                homeFound = true;
                mRows.insert(mRows.begin(), VolumeRow{nullptr, folder});
                ++headerIndex;
            } else {
                mRows.push_back(VolumeRow{nullptr, folder});
            }
        }
        if (headerIndex + 1 == mRows.size()) {
            mRows.erase(mRows.begin() + static_cast<std::ptrdiff_t>(headerIndex));
        }
    }
    mRows.push_back(
        VolumeRow{makeSection(VolumesTableLocalizable::kFolders, kFoldersSection), nullptr});
    for (const auto& folder : mOthers) {
        if (folder != nullptr) {
            mRows.push_back(VolumeRow{nullptr, folder});
        }
    }
}

void VolumesTableController::removeEmptyGroupsFromArray() {
    changeRows([this] {
        std::vector<VolumeRow> kept;
        kept.reserve(mRows.size());
        for (std::size_t i = 0; i < mRows.size(); ++i) {
            bool emptyGroup =
                mRows[i].isGroup() && (i + 1 == mRows.size() || mRows[i + 1].isGroup());
            // The "Folders" header stays even with no folders under it.
            if (emptyGroup && mRows[i].group->_sectionKind != kFoldersSection) {
                continue;
            }
            kept.push_back(mRows[i]);
        }
        mRows = std::move(kept);
    });
}

std::vector<TopLevelRef> VolumesTableController::volumeEntries() const {
    std::vector<TopLevelRef> volumes;
    for (const VolumeRow& row : mRows) {
        if (row.entry != nullptr && row.entry->isVol()) {
            volumes.push_back(row.entry);
        }
    }
    return volumes;
}

void VolumesTableController::volumesCountChanged(bool added, const std::string& path,
                                                 const TopLevelRef& addedIem) {
    std::string selectedPath = getSelectedVolume();
    if (added) {
        std::vector<TopLevelRef> volumes = volumeEntries();
        bool known = std::any_of(volumes.begin(), volumes.end(),
                                 [&](const TopLevelRef& v) { return v->getPath() == path; });
        if (addedIem != nullptr && !known) {
            volumes.push_back(addedIem);
        }
        changeRows([&] {
            mRows.clear();
            for (const TopLevelRef& volume : volumes) {
                insertVolume(volume);
            }
            appendFolderSections();
        });
        reloadData(false);
        selectVolumeByNameOrAny(selectedPath);
        return;
    }
    changeRows([&] {
        std::erase_if(mRows, [&](const VolumeRow& row) {
            return row.entry != nullptr && row.entry->isVol() && row.entry->getPath() == path;
        });
    });
    removeEmptyGroupsFromArray();
    reloadData(false);
    selectVolumeByNameOrAny(selectedPath);
}

void VolumesTableController::reloadData(bool keepSelection) {
    changeRows([] {});
    if (keepSelection && mAppliedEntry != nullptr) {
        auto found = std::find_if(mRows.begin(), mRows.end(),
                                  [&](const VolumeRow& row) { return row.entry == mAppliedEntry; });
        mSelectedRow = found == mRows.end() ? -1 : static_cast<int>(found - mRows.begin());
    }
    for (VolumesTableObserver* observer : mObservers) {
        observer->selectionDidMove(mSelectedRow);
    }
}

int VolumesTableController::rowHeight(int row) const {
    return isGroupRow(row) ? kGroupRowHeight : kEntryRowHeight;
}

void VolumesTableController::recomputeDocumentHeight() {
    int height = kDocumentMargin;
    for (int row = 0; row < numberOfRows(); ++row) {
        height += rowHeight(row) + kRowSpacing;
    }
    mDocumentHeight = height;
}

std::string VolumesTableController::getSelectedVolume() const {
    if (TopLevelRef entry = getObjectForSelectedRow()) {
        return entry->getPath();
    }
    if (auto stored = CachedSelectedVolumeName::load()) {
        return *stored;
    }
    return mHomeFolder;
}

TopLevelRef VolumesTableController::getObjectForSelectedRow() const {
    const VolumeRow* row = getItemByRow(mSelectedRow);
    return row != nullptr ? row->entry : nullptr;
}

const VolumeRow* VolumesTableController::getItemByRow(int row) const {
    return isRowValid(row) ? &mRows[static_cast<std::size_t>(row)] : nullptr;
}

bool VolumesTableController::isGroupRow(int row) const {
    return isRowValid(row) && mRows[static_cast<std::size_t>(row)].isGroup();
}

bool VolumesTableController::isRowValid(int row) const {
    return row >= 0 && row < numberOfRows();
}

bool VolumesTableController::selectRow(int row) {
    if (row != -1 && !shouldSelectRow(row)) {
        return false;
    }
    mSelectedRow = row;
    for (VolumesTableObserver* observer : mObservers) {
        observer->selectionDidMove(mSelectedRow);
    }
    applySelection();
    return true;
}

// Tells the delegate only when the selected entry really changed, since the
// same entry may be re-selected after every reload.
void VolumesTableController::applySelection() {
    TopLevelRef entry = getObjectForSelectedRow();
    if (entry != nullptr) {
        CachedSelectedVolumeName::save(entry->getPath());
    } else {
        CachedSelectedVolumeName::remove();
    }
    if (entry == mAppliedEntry) {
        return;
    }
    mAppliedEntry = entry;
    if (mDelegate != nullptr) {
        mDelegate->didSelectionChange(entry);
    }
}

int VolumesTableController::rowOfPath(const std::string& path) const {
    for (int row = 0; row < numberOfRows(); ++row) {
        const TopLevelRef& entry = mRows[static_cast<std::size_t>(row)].entry;
        if (entry != nullptr && entry->getPath() == path) {
            return row;
        }
    }
    return -1;
}

bool VolumesTableController::selectVolumeByName(const std::string& path) {
    int row = rowOfPath(path);
    return row >= 0 && selectRow(row);
}

void VolumesTableController::selectVolumeByNameOrAny(const std::string& path) {
    if (!selectVolumeByName(path)) {
        selectOneifnotSelected();
    }
}

void VolumesTableController::selectOneifnotSelected() {
    if (!isRowValid(mSelectedRow)) {
        for (int row = 0; row < numberOfRows(); ++row) {
            if (shouldSelectRow(row)) {
                selectRow(row);
                return;
            }
        }
        selectRow(-1);
        return;
    }
    int row = mSelectedRow;
    if (isGroupRow(row)) {
        row = shouldSelectRow(row - 1) ? row - 1 : -1;
        if (row < 0) {
            mSelectedRow = -1;
            selectOneifnotSelected();
            return;
        }
    }
    selectRow(row);
}

TopLevelRef VolumesTableController::selectHomeFolder() {
    int row = rowOfPath(mHomeFolder);
    if (row < 0) {
        return nullptr;
    }
    selectRow(row);
    return getObjectForSelectedRow();
}

void VolumesTableController::makeSelectedVolumeVisible() {
    if (!isRowValid(mSelectedRow)) {
        return;
    }
    for (VolumesTableObserver* observer : mObservers) {
        observer->scrollRowToVisible(mSelectedRow);
    }
}

bool VolumesTableController::setScannedRootInfo(const FolderRef& root, std::int64_t state) {
    if (root == nullptr) {
        return false;
    }
    std::string path = root->getFullPath();
    int found = -1;
    for (int row = 0; row < numberOfRows(); ++row) {
        const TopLevelRef& entry = mRows[static_cast<std::size_t>(row)].entry;
        if (entry == nullptr || entry->getPath() != path) {
            continue;
        }
        // A volume wins over a folder entry of the same path.
        if (entry->isVol()) {
            found = row;
            break;
        }
        if (found < 0) {
            found = row;
        }
    }
    if (found < 0) {
        return false;
    }
    TopLevelRef entry = mRows[static_cast<std::size_t>(found)].entry;
    setScannedRoot(root, entry);
    entry->setScanningState(state);
    for (VolumesTableObserver* observer : mObservers) {
        observer->rowDidChange(found);
    }
    return true;
}

void VolumesTableController::setScannedRoot(const FolderRef& root, const TopLevelRef& entry) {
    if (entry == nullptr) {
        return;
    }
    if (entry->scannedRoot() != nullptr && entry->scannedRoot() != root && mDelegate != nullptr) {
        mDelegate->removeChildrenOfFolderItem(entry);
    }
    entry->setScannedRoot(root);
}

bool VolumesTableController::hasProccessingVolume() const {
    if (mDelegate != nullptr && mDelegate->isProcessing()) {
        return true;
    }
    return std::any_of(mRows.begin(), mRows.end(), [](const VolumeRow& row) {
        return row.entry != nullptr && row.entry->scanningState() == TopLevelItem::Scanning;
    });
}

void VolumesTableController::startScanItem(int row) {
    if (!selectRow(row) || row < 0) {
        return;
    }
    if (mDelegate != nullptr) {
        mDelegate->startScanAction();
    }
}

void VolumesTableController::stopScanItem(int row) {
    if (!selectRow(row) || row < 0) {
        return;
    }
    if (mDelegate != nullptr) {
        mDelegate->stopScanAction();
    }
}

void VolumesTableController::doubleTabAction(int row) {
    const VolumeRow* item = getItemByRow(row);
    if (item == nullptr || item->isGroup()) {
        return;
    }
    // Opening a row never stops its scan: only the row's stop button does.
    if (item->entry->scanningState() == TopLevelItem::Scanning) {
        selectRow(row);
    } else {
        startScanItem(row);
    }
}

void VolumesTableController::scanButtonAction(int row) {
    const VolumeRow* item = getItemByRow(row);
    if (item == nullptr || item->isGroup()) {
        return;
    }
    if (rowScanActionFor(item->entry->scanningState()) == RowScanAction::Stop) {
        stopScanItem(row);
    } else {
        startScanItem(row);
    }
}

bool VolumesTableController::canPerformMainMenuAction(int code, QAction* menuItem) const {
    bool can = mHasKeyboardFocus && code >= kCommandReveal && code <= kCommandInfo &&
               getObjectForSelectedRow() != nullptr;
    if (menuItem != nullptr) {
        menuItem->setEnabled(can);
    }
    return can;
}

bool VolumesTableController::performMainMenuAction(int code) {
    if (!canPerformMainMenuAction(code, nullptr)) {
        return false;
    }
    if (mDelegate != nullptr) {
        mDelegate->performEntryCommand(code, getObjectForSelectedRow());
    }
    return true;
}

bool VolumesTableController::processKeyDownWith(int key) {
    if (key == Qt::Key_Space) {
        return performMainMenuAction(kCommandPreview);
    }
    return false;
}

}  // namespace korvex
