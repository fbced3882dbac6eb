#include "scan/format/PathsGenerator.h"

#include "scan/format/PathUtils.h"

#include <filesystem>

namespace korvex {

namespace {

constexpr const char* kApplicationIdentifier = "korvex";

std::string orEmpty(const std::optional<std::string>& folder) {
    return folder.value_or("");
}

}  // namespace

const PathsGenerator& PathsGenerator::GetInstance() {
    static const PathsGenerator instance(platform::UserFolders::current());
    return instance;
}

PathsGenerator::PathsGenerator(const platform::UserFolders& folders)
    : m_sHomeDirectory(folders.home()),
      m_sUserApplicationDirectory(orEmpty(folders.folder(platform::UserFolderKind::Applications))),
      m_sUserDownloadsDirectory(folders.downloads()),
      m_sUserDesktopDirectory(folders.desktop()),
      m_sUserPicturesDirectory(folders.pictures()),
      m_sUserDocumentsDirectory(folders.documents()),
      m_sUserLibraryDirectory(orEmpty(folders.folder(platform::UserFolderKind::Library))),
      m_sUserTrashDirectory(folders.trash()),
      m_sUserApplicationSupportDirectory(
          orEmpty(folders.folder(platform::UserFolderKind::ApplicationSupport))),
      m_sUserPreferencePanesDirectory(
          orEmpty(folders.folder(platform::UserFolderKind::PreferencePanes))),
      m_sUserITunesRootDirectory(
          orEmpty(folders.folder(platform::UserFolderKind::MediaLibraryRoot))),
      m_sUserCacheDirectory(orEmpty(folders.folder(platform::UserFolderKind::Caches))),
      m_sUserMailDownloads(orEmpty(folders.folder(platform::UserFolderKind::MailDownloads))),
      _userName(folders.userName()) {}

std::string PathsGenerator::expandTildeInPath(const std::string& path) const {
    if (path.rfind("~/", 0) != 0) {
        return path;
    }
    return joinPathComponent(m_sHomeDirectory, path.substr(2));
}

bool PathsGenerator::pathInTrash(const std::string& path) const {
    return isInFolder(path, m_sUserTrashDirectory);
}

std::optional<std::string> PathsGenerator::buildApplicationFolderPathInApplicationSupport() const {
    if (m_sUserApplicationSupportDirectory.empty()) {
        return std::nullopt;
    }
    return joinPathComponent(m_sUserApplicationSupportDirectory, kApplicationIdentifier);
}

std::optional<std::string> PathsGenerator::buildFolderInApplicationSupportWithName(
    const std::string& name) const {
    auto base = buildApplicationFolderPathInApplicationSupport();
    if (!base) {
        return std::nullopt;
    }
    std::string folder = joinPathComponent(*base, name);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace korvex
