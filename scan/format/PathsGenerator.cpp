#include "scan/format/PathsGenerator.h"

#include "scan/format/PathUtils.h"

namespace korvex {

const PathsGenerator& PathsGenerator::GetInstance() {
    static const PathsGenerator instance(platform::UserFolders::current());
    return instance;
}

PathsGenerator::PathsGenerator(const platform::UserFolders& folders)
    : m_sHomeDirectory(folders.home()),
      m_sUserDownloadsDirectory(folders.downloads()),
      m_sUserDesktopDirectory(folders.desktop()),
      m_sUserPicturesDirectory(folders.pictures()),
      m_sUserDocumentsDirectory(folders.documents()),
      m_sUserTrashDirectory(folders.trash()) {}

std::string PathsGenerator::expandTildeInPath(const std::string& path) const {
    if (path.rfind("~/", 0) != 0) {
        return path;
    }
    return joinPathComponent(m_sHomeDirectory, path.substr(2));
}

bool PathsGenerator::pathInTrash(const std::string& path) const {
    return isInFolder(path, m_sUserTrashDirectory);
}

}  // namespace korvex
