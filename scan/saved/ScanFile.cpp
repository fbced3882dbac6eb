#include "scan/saved/ScanFile.h"

#include "platform/HostName.h"
#include "platform/UniqueFd.h"
#include "platform/fs/EntryIdentity.h"
#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanReader.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace korvex {

SavedScanResult readScanFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {std::nullopt, path + ": " + std::strerror(errno)};
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return {std::nullopt, path + ": " + std::strerror(errno)};
    }
    const std::string bytes = std::move(content).str();
    SavedScanResult result;
    if (looksLikeSavedScan(bytes)) {
        result = decodeSavedScan(bytes);
    } else if (looksLikeNcduExport(bytes)) {
        result = decodeNcduExport(bytes);
    } else {
        return {std::nullopt, path + ": neither a saved scan nor an ncdu export"};
    }
    if (!result.scan) {
        result.error = path + ": " + result.error;
    }
    return result;
}

std::shared_ptr<const NodeIdentities> identitiesOnDisk(const FolderSystemItem& root) {
    auto identities = std::make_shared<NodeIdentities>();
    // Depth first, with the open folders of the current branch: each entry is
    // looked up by its own name in its parent. A folder that cannot be
    // opened (or one descriptor too many) leaves its entries to whole paths.
    struct Step {
        const FileSystemItem* node;
        std::size_t depth;
        std::size_t parentPathLength;
    };
    std::string path = root.fullPath();
    std::vector<platform::UniqueFd> folders;
    folders.emplace_back(platform::openFolderForIdentities(-1, path.c_str()));
    std::vector<Step> pending;
    auto pushChildren = [&](const FileSystemItem& folder, std::size_t depth) {
        for (std::size_t i = folder.numberOfChildren(); i-- > 0;) {
            pending.push_back({folder.childAtIndex(i), depth + 1, path.size()});
        }
    };
    if (auto identity = platform::entryIdentity(path)) {
        identities->add(&root, {identity->device, identity->inode});
    }
    pushChildren(root, 0);
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.node->isSpecial()) {
            continue;
        }
        folders.resize(step.depth);  // closes the folders of the branch left
        path.resize(step.parentPathLength);
        if (path.empty() || path.back() != '/') {
            path += '/';
        }
        const std::size_t nameAt = path.size();
        path += step.node->relativePath();
        const int parent = folders.back().get();
        const char* name = path.c_str() + nameAt;
        const auto identity =
            parent >= 0 ? platform::entryIdentityAt(parent, name) : platform::entryIdentity(path);
        if (identity) {
            identities->add(step.node, {identity->device, identity->inode});
        }
        if (step.node->isDir() && step.node->numberOfChildren() > 0) {
            folders.emplace_back(parent >= 0 ? platform::openFolderForIdentities(parent, name)
                                             : -1);
            pushChildren(*step.node, step.depth);
        }
    }
    identities->seal();
    return identities;
}

SavedScan savedScanOf(FolderRef root, std::int64_t entriesRead,
                      std::vector<std::string> deniedFolders, double seconds, bool cancelled,
                      bool entryIdentities) {
    SavedScan scan;
    if (auto identity = platform::entryIdentity(root->fullPath())) {
        scan.rootDevice = identity->device;
        scan.rootInode = identity->inode;
    }
    if (entryIdentities) {
        scan.identities = identitiesOnDisk(*root);
    }
    scan.root = std::move(root);
    scan.host = platform::hostName();
    scan.scanTime = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    scan.entriesRead = entriesRead;
    scan.deniedFolders = std::move(deniedFolders);
    scan.seconds = seconds;
    scan.cancelled = cancelled;
    return scan;
}

}  // namespace korvex
