#include "access/AccessChecker.h"

#include "scan/format/PathUtils.h"
#include "scan/format/PathsGenerator.h"

#include <algorithm>
#include <string_view>

namespace korvex {

namespace {
// Where the desktop mounts removable media and other volumes.
constexpr std::string_view kMediaRoots[] = {"/media/", "/run/media/", "/mnt/"};
}  // namespace

std::vector<std::string> AccessChecker::pathsToBeAccessed() {
    const PathsGenerator& paths = PathsGenerator::GetInstance();
    std::vector<std::string> folders = {
        paths.buildUserDownloadsDirectory(), paths.buildUserDesktopDirectory(),
        paths.buildUserDocumentsDirectory(), paths.buildTrashDirectory()};
    std::erase(folders, std::string());
    return folders;
}

std::vector<std::string> AccessChecker::inaccessibleFoldersIn(FolderSystemItem& root) {
    std::vector<std::string> denied;
    for (const std::string& path : pathsToBeAccessed()) {
        ItemRef node = root.getItemByFilePath(path);
        if (node != nullptr && node->accessDenied()) {
            denied.push_back(pathWithReplasingHomeFolderUsingTilda(path));
        }
    }
    return denied;
}

bool AccessChecker::shouldAskToGrantAccessForPath(const std::string& path) {
    if (std::any_of(std::begin(kMediaRoots), std::end(kMediaRoots),
                    [&](std::string_view root) { return path.starts_with(root); })) {
        return true;
    }
    std::vector<std::string> protectedFolders = pathsToBeAccessed();
    return std::find(protectedFolders.begin(), protectedFolders.end(), path) !=
           protectedFolders.end();
}

}  // namespace korvex
