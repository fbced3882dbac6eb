#include "scan/saved/ScanComparison.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace korvex {

namespace {

// Special nodes have no names; they match by what they stand for.
std::string matchKey(const FileSystemItem& node) {
    if (node.isUnscanned()) {
        return std::string(1, '\1');
    }
    if (node.isInaccessible()) {
        return std::string(1, '\2');
    }
    if (node.isPurgeable()) {
        return std::string(1, '\3');
    }
    return std::string(node.relativePath());
}

// Files, packages and special nodes have no children to compare.
bool isLeaf(const FileSystemItem& node) {
    return !node.isDirectory();
}

std::int64_t ownBlocks(const FileSystemItem& node) {
    return node.isDir() ? static_cast<const FolderSystemItem&>(node).ownCountedSize()
                        : node.gettotalsize();
}

}  // namespace

ScanComparison::ScanComparison(const FolderSystemItem& older, const FolderSystemItem& newer)
    : mOlder(&older), mNewer(&newer) {
    compareFolders(older, newer);
    std::sort(mChanges.begin(), mChanges.end(), [](const Change& a, const Change& b) {
        const std::int64_t sizeA = std::llabs(a.delta());
        const std::int64_t sizeB = std::llabs(b.delta());
        return sizeA != sizeB ? sizeA > sizeB : a.path < b.path;
    });
}

void ScanComparison::listOwnChange(const FileSystemItem& older, const FileSystemItem& newer) {
    const bool leaf = isLeaf(newer) && isLeaf(older);
    const std::int64_t before = leaf ? older.gettotalsize() : ownBlocks(older);
    const std::int64_t after = leaf ? newer.gettotalsize() : ownBlocks(newer);
    if (before == after) {
        return;
    }
    mChanges.push_back({after > before ? ChangeKind::Grown : ChangeKind::Shrunk, newer.fullPath(),
                        before, after, newer.isDir(), !leaf});
}

void ScanComparison::compareFolders(const FileSystemItem& olderRoot,
                                    const FileSystemItem& newerRoot) {
    // Pairs of matched nodes still to look into; no recursion, trees are deep.
    std::vector<std::pair<const FileSystemItem*, const FileSystemItem*>> pending{
        {&olderRoot, &newerRoot}};
    std::unordered_map<std::string, const FileSystemItem*> olderChildren;
    while (!pending.empty()) {
        auto [older, newer] = pending.back();
        pending.pop_back();
        mOldSizes.emplace(newer, older->gettotalsize());
        listOwnChange(*older, *newer);
        if (isLeaf(*older) || isLeaf(*newer)) {
            continue;
        }
        olderChildren.clear();
        for (std::size_t i = 0; i < older->numberOfChildren(); ++i) {
            const FileSystemItem* child = older->childAtIndex(i);
            olderChildren.emplace(matchKey(*child), child);
        }
        for (std::size_t i = 0; i < newer->numberOfChildren(); ++i) {
            const FileSystemItem* child = newer->childAtIndex(i);
            auto match = olderChildren.find(matchKey(*child));
            // A file that became a folder (or the reverse) is another item.
            if (match == olderChildren.end() ||
                match->second->isDirectory() != child->isDirectory()) {
                mChanges.push_back({ChangeKind::Added, child->fullPath(), 0, child->gettotalsize(),
                                    child->isDir(), false});
                continue;
            }
            pending.emplace_back(match->second, child);
            olderChildren.erase(match);
        }
        for (const auto& [key, child] : olderChildren) {
            mChanges.push_back({ChangeKind::Removed, child->fullPath(), child->gettotalsize(), 0,
                                child->isDir(), false});
            mRemovedBelow[newer] += child->gettotalsize();
        }
    }
}

std::optional<std::int64_t> ScanComparison::oldSizeOf(const FileSystemItem* node) const {
    auto found = mOldSizes.find(node);
    if (found == mOldSizes.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::int64_t ScanComparison::deltaOf(const FileSystemItem* node) const {
    return node->gettotalsize() - oldSizeOf(node).value_or(0);
}

std::int64_t ScanComparison::removedBelow(const FileSystemItem* folder) const {
    auto found = mRemovedBelow.find(folder);
    return found == mRemovedBelow.end() ? 0 : found->second;
}

std::int64_t ScanComparison::totalDelta() const {
    return mNewer->gettotalsize() - mOlder->gettotalsize();
}

}  // namespace korvex
