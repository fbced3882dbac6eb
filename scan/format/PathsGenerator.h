#pragma once

#include "platform/UserFolders.h"

#include <string>

namespace korvex {

// The user's standard folders, computed once.
class PathsGenerator {
  public:
    static const PathsGenerator& GetInstance();
    explicit PathsGenerator(const platform::UserFolders& folders);

    const std::string& getHomeDirectory() const { return m_sHomeDirectory; }
    const std::string& buildTrashDirectory() const { return m_sUserTrashDirectory; }
    const std::string& buildUserDownloadsDirectory() const { return m_sUserDownloadsDirectory; }
    const std::string& buildUserDesktopDirectory() const { return m_sUserDesktopDirectory; }
    const std::string& buildUserPicturesDirectory() const { return m_sUserPicturesDirectory; }
    const std::string& buildUserDocumentsDirectory() const { return m_sUserDocumentsDirectory; }

    // A path beginning with "~/" becomes one below the home folder.
    std::string expandTildeInPath(const std::string& path) const;
    bool pathInTrash(const std::string& path) const;

  private:
    std::string m_sHomeDirectory;
    std::string m_sUserDownloadsDirectory;
    std::string m_sUserDesktopDirectory;
    std::string m_sUserPicturesDirectory;
    std::string m_sUserDocumentsDirectory;
    std::string m_sUserTrashDirectory;
};

}  // namespace korvex
