#include "cleanup/purgeable/VanishedEntries.h"

#include "scan/format/PathUtils.h"

#include <sys/stat.h>

#include <cerrno>
#include <future>

namespace korvex {

namespace {

bool isGone(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

void collectBelow(const FolderSystemItem& folder, const std::string& folderPath,
                  std::vector<VanishedEntry>& out) {
    for (const ItemRef& child : folder.childrenArray()) {
        if (child->isSpecial()) {
            continue;
        }
        std::string path = joinPathComponent(folderPath, child->name());
        if (isGone(path)) {
            out.push_back({child, path, child->gettotalsize()});
        } else if (child->isDirectory()) {
            collectBelow(static_cast<const FolderSystemItem&>(*child), path, out);
        }
    }
}

// The listed folders inside the volume, without those inside another listed one.
std::vector<std::string> foldersToExamine(const std::string& volumePath,
                                          const std::vector<std::string>& folders) {
    std::vector<std::string> kept;
    for (const std::string& folder : folders) {
        bool inVolume = volumePath == "/" || isInFolder(folder, volumePath);
        bool nested = false;
        for (const std::string& other : folders) {
            nested = nested || isInFolder(folder, other);
        }
        if (inVolume && !nested) {
            kept.push_back(folder);
        }
    }
    return kept;
}

}  // namespace

std::vector<VanishedEntry> collectVanishedEntries(VolumeSystemItem& volume,
                                                  const std::vector<std::string>& folders) {
    std::vector<std::future<std::vector<VanishedEntry>>> searches;
    for (const std::string& folder : foldersToExamine(volume.fullPath(), folders)) {
        ItemRef node = volume.getItemByFilePath(folder);
        if (node == nullptr || !node->isDirectory()) {
            continue;
        }
        searches.push_back(std::async(std::launch::async, [node, folder] {
            std::vector<VanishedEntry> found;
            collectBelow(static_cast<const FolderSystemItem&>(*node), folder, found);
            return found;
        }));
    }
    std::vector<VanishedEntry> all;
    for (auto& search : searches) {
        std::vector<VanishedEntry> found = search.get();
        all.insert(all.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
    }
    return all;
}

void removeVanishedEntries(const std::vector<VanishedEntry>& entries) {
    for (const VanishedEntry& entry : entries) {
        if (FolderSystemItem* parent = entry.node->getParent()) {
            parent->removeChildAndRecalc(entry.node.get());
        }
    }
}

}  // namespace korvex
