#pragma once

#include "scan/targets/FolderItem.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

using FolderItemRef = std::shared_ptr<FolderItem>;

// An ordered list of folder targets (oldest first), saved in the settings
// store as an array of full paths.
class FolderItemsController {
  public:
    virtual ~FolderItemsController() = default;

    // A target for `path`, or nothing when the path leads to no mounted file system.
    static FolderItemRef makeFolderItem(const std::string& path);

    // Answers whether the key held an array at all (an empty one counts).
    bool initListFromPreferences(const std::string& foldersKey);
    bool saveListToPreferences(const std::string& foldersKey) const;
    virtual FolderItemRef addFolderToList(const std::string& path, bool withCheck);

    FolderItemRef getFolderItemByPath(const std::string& path) const;
    void removeFolderFromList(const std::string& path);
    void addFolderItemToList(FolderItemRef item) { mFoldersList.push_back(std::move(item)); }
    void removeFolderItemFromList(const FolderItemRef& item);
    FolderItemRef getFolderItemByIndex(std::size_t index) const;
    std::optional<std::size_t> getIndexOfItem(const FolderItemRef& item) const;
    std::size_t foldersCount() const { return mFoldersList.size(); }
    const std::vector<FolderItemRef>& getFoldersArray() const { return mFoldersList; }
    void cleanFoldersLit() { mFoldersList.clear(); }

    virtual void initFolderListByDefault() = 0;
    // Answers whether the store held a list.
    virtual bool initFromPreferences() = 0;
    virtual void saveToPreferences() const = 0;

    // After items were removed from disk: entries at or inside a removed path
    // leave the list (answered through `listChanged`); the other entries drop
    // the removed items from their trees, which are added to `resItems`.
    bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths, ItemList& resItems,
                                     bool& listChanged);
    bool updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                     const std::string& toFolder, ItemList& resItems);
    void updateAddedItemsToCollection(const std::vector<std::string>& paths);
    void updateRemovedItemsInCollection(const std::vector<std::string>& paths);

  protected:
    std::vector<FolderItemRef> mFoldersList;
};

// The favourite folders: the home folder by default, and always kept in the list.
class FFoldersController : public FolderItemsController {
  public:
    static constexpr const char* kKey = "FFolders";
    void initFolderListByDefault() override;
    bool initFromPreferences() override;
    void saveToPreferences() const override { saveListToPreferences(kKey); }
    bool isFolderFavorite(const std::string& path) const {
        return getFolderItemByPath(path) != nullptr;
    }
};

// The folders scanned lately, newest last, at most `m_nRecentsLimit` of them.
class RecentsController : public FolderItemsController {
  public:
    static constexpr const char* kKey = "Recents";
    // The user's setting for how many recent items to keep.
    static constexpr const char* kMaximumKey = "MaximumRecentDocumentCount";

    static constexpr std::size_t kFewestRecents = 1;
    static constexpr std::size_t kMostRecents = 10;

    RecentsController();
    // Between 1 and 10, from the setting (default 10).
    static std::size_t limitFor(unsigned long long maximumRecentDocumentCount);
    static std::size_t storedLimit();

    void initFolderListByDefault() override;
    bool initFromPreferences() override;
    void saveToPreferences() const override { saveListToPreferences(kKey); }
    // With the check on, the folder moves to the newest place.
    FolderItemRef addFolderToList(const std::string& path, bool withCheck) override;
    std::size_t recentsLimit() const { return m_nRecentsLimit; }
    // The limit the user chose (kept between 1 and 10, and stored); answers
    // the oldest entries that no longer fit, which leave the list.
    std::vector<FolderItemRef> setRecentsLimit(unsigned long long limit);

  private:
    std::size_t m_nRecentsLimit;
};

}  // namespace korvex
