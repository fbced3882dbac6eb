#pragma once

#include "platform/UserFolders.h"

#include <optional>
#include <string>

namespace korvex {

// The user's standard folders, computed once. Folders without a Linux
// counterpart answer an empty string.
class PathsGenerator {
  public:
    static const PathsGenerator& GetInstance();
    explicit PathsGenerator(const platform::UserFolders& folders);

    const std::string& getHomeDirectory() const { return m_sHomeDirectory; }
    std::string getCurrentDiskDirectory() const { return "/"; }
    const std::string& buildTrashDirectory() const { return m_sUserTrashDirectory; }
    const std::string& buildUserApplicationsDirectory() const {
        return m_sUserApplicationDirectory;
    }
    const std::string& buildUserDownloadsDirectory() const { return m_sUserDownloadsDirectory; }
    const std::string& buildUserDesktopDirectory() const { return m_sUserDesktopDirectory; }
    const std::string& buildUserPicturesDirectory() const { return m_sUserPicturesDirectory; }
    const std::string& buildUserDocumentsDirectory() const { return m_sUserDocumentsDirectory; }
    const std::string& buildUserLibraryDirectory() const { return m_sUserLibraryDirectory; }
    const std::string& buildUserApplicationSupportDirectory() const {
        return m_sUserApplicationSupportDirectory;
    }
    const std::string& buildUserCacheDirectory() const { return m_sUserCacheDirectory; }
    const std::string& buildUserPreferencePanesDirectory() const {
        return m_sUserPreferencePanesDirectory;
    }
    const std::string& buildItunesRootDirectory() const { return m_sUserITunesRootDirectory; }
    const std::string& buildUserMailDownloads() const { return m_sUserMailDownloads; }
    const std::string& userName() const { return _userName; }
    const std::string& buildCacheDirectory() const { return m_sUserCacheDirectory; }
    const std::string& buildDownloadsDirectory() const { return m_sUserDownloadsDirectory; }
    static const char* backupsFolderName() { return "Backups.backupdb"; }

    // A path beginning with "~/" becomes one below the home folder.
    std::string expandTildeInPath(const std::string& path) const;
    bool pathInTrash(const std::string& path) const;
    // The application's own data folder; nothing when there is no data home.
    std::optional<std::string> buildApplicationFolderPathInApplicationSupport() const;
    // That folder joined with `name`, created with its parents.
    std::optional<std::string> buildFolderInApplicationSupportWithName(
        const std::string& name) const;

  private:
    std::string m_sHomeDirectory;
    std::string m_sUserApplicationDirectory;
    std::string m_sUserDownloadsDirectory;
    std::string m_sUserDesktopDirectory;
    std::string m_sUserPicturesDirectory;
    std::string m_sUserDocumentsDirectory;
    std::string m_sUserLibraryDirectory;
    std::string m_sUserTrashDirectory;
    std::string m_sUserApplicationSupportDirectory;
    std::string m_sUserPreferencePanesDirectory;
    std::string m_sUserITunesRootDirectory;
    std::string m_sUserCacheDirectory;
    std::string m_sUserMailDownloads;
    std::string _userName;
};

}  // namespace korvex
