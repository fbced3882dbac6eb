#include "scan/walker/HardLinkRegistry.h"

#include "scan/tree/FolderSystemItem.h"

#include <algorithm>
#include <string>

namespace korvex {

bool HardLinkRegistry::claim(Key key) {
    std::lock_guard guard(mLock);
    return mClaimed.insert(key).second;
}

void HardLinkRegistry::remember(Key key, const ItemRef& node) {
    node->setHardLinked();
    std::lock_guard guard(mLock);
    mLinks.emplace_back(key, node);
}

ItemList HardLinkRegistry::settle() {
    std::lock_guard guard(mLock);
    struct Link {
        Key key;
        std::string path;
        ItemRef node;
    };
    std::vector<Link> links;
    links.reserve(mLinks.size());
    for (auto& [key, node] : mLinks) {
        links.push_back({key, node->fullPath(), std::move(node)});
    }
    mLinks.clear();
    std::sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
        if (a.key.device != b.key.device) {
            return a.key.device < b.key.device;
        }
        return a.key.inode != b.key.inode ? a.key.inode < b.key.inode : a.path < b.path;
    });
    ItemList holders;
    for (std::size_t first = 0; first < links.size();) {
        std::size_t end = first;
        std::int64_t bytes = 0;
        while (end < links.size() && links[end].key == links[first].key) {
            bytes = std::max(bytes, links[end].node->selfSize());
            links[end].node->setFileSize(0);
            ++end;
        }
        links[first].node->setFileSize(bytes);
        holders.push_back(links[first].node);
        first = end;
    }
    // The folders of changed sizes count again at the next recount.
    for (const Link& link : links) {
        if (FolderSystemItem* folder = link.node->getParent()) {
            folder->markTotalStale();
        }
    }
    return holders;
}

}  // namespace korvex
