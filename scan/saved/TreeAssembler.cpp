#include "scan/saved/TreeAssembler.h"

#include "scan/tree/ParallelTreeSort.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

namespace korvex {

namespace {

using saved::NodeKind;

// Far above any disk, far below where sums of many of them could overflow.
constexpr std::int64_t kMaxBytes = std::int64_t{1} << 60;

bool isSpecialKind(NodeKind kind) {
    return kind == NodeKind::Unscanned || kind == NodeKind::Inaccessible ||
           kind == NodeKind::Purgeable;
}

std::optional<SpecialSystemItem::Type> specialType(NodeKind kind) {
    switch (kind) {
        case NodeKind::Unscanned:
            return SpecialSystemItem::Unscanned;
        case NodeKind::Inaccessible:
            return SpecialSystemItem::Inaccessible;
        case NodeKind::Purgeable:
            return SpecialSystemItem::Purgeable;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> TreeAssembler::checkNode(const SavedNode& node) const {
    if (static_cast<std::uint8_t>(node.kind) > static_cast<std::uint8_t>(NodeKind::Purgeable)) {
        return "unknown node kind " + std::to_string(static_cast<int>(node.kind));
    }
    if (node.name.find('\0') != std::string_view::npos) {
        return std::string("a name holds a zero byte");
    }
    if (mRoot == nullptr) {
        if (node.kind != NodeKind::Folder) {
            return std::string("the first node is not a folder");
        }
        if (!node.name.starts_with('/')) {
            return std::string("the scanned folder has no absolute path");
        }
        return std::nullopt;
    }
    if (complete()) {
        return std::string("a node follows the end of the scanned folder");
    }
    if (mOpen.size() >= saved::kMaxDepth) {
        return "folders nest deeper than " + std::to_string(saved::kMaxDepth) + " levels";
    }
    if (!isSpecialKind(node.kind) && (node.name.empty() || node.name == "." || node.name == ".." ||
                                      node.name.find('/') != std::string_view::npos)) {
        return std::string("a name is empty, a dot entry, or holds a slash");
    }
    return std::nullopt;
}

std::optional<std::string> TreeAssembler::countSize(std::int64_t bytes) {
    if (bytes < 0 || bytes > kMaxBytes || mTotal > kMaxBytes * 4 - bytes) {
        return "size " + std::to_string(bytes) + " is out of range";
    }
    mTotal += bytes;
    return std::nullopt;
}

void TreeAssembler::applyFlags(FileSystemItem& item, const SavedNode& node) const {
    item.setAccessDenied(node.denied);
    item.setTrashFlag(node.trash);
    if (node.hardLinked) {
        item.setHardLinked();
    }
    if (node.purgeableCache) {
        item.setPurgeableCache();
    }
}

std::optional<std::string> TreeAssembler::beginFolder(const SavedNode& node) {
    if (auto error = checkNode(node)) {
        return error;
    }
    if (auto error = countSize(node.size)) {
        return error;
    }
    FolderRef folder;
    if (mRoot == nullptr && mRootFacts.isVolume) {
        VolumeRef volume =
            VolumeSystemItem::initWithPath(node.name, mRootFacts.capacity, mRootFacts.freeSpace);
        volume->setVolReservedSize(mRootFacts.reserved);
        volume->setUseFreeSector(mRootFacts.usesFreeSector);
        folder = volume;
    } else if (mRoot == nullptr) {
        folder = FolderSystemItem::initWithPathSizeNoParent(node.name, nullptr, 0, false,
                                                            node.timeCode, node.hidden, node.cloud);
    } else {
        folder = FolderSystemItem::initWithPathSize(node.name, current(), 0, false, node.timeCode,
                                                    node.hidden, node.cloud);
    }
    folder->addOwnBlocks(node.size);
    applyFlags(*folder, node);
    if (mRoot == nullptr) {
        mRoot = folder;
    }
    mOpen.push_back(folder.get());
    mLastAdded = folder.get();
    return std::nullopt;
}

std::optional<std::string> TreeAssembler::addLeaf(const SavedNode& node) {
    if (mRoot == nullptr || node.kind == NodeKind::Folder) {
        return std::string(mRoot == nullptr ? "the first node is not a folder"
                                            : "a folder was given as a leaf");
    }
    if (auto error = checkNode(node)) {
        return error;
    }
    if (auto error = countSize(node.size)) {
        return error;
    }
    ItemRef item;
    if (auto type = specialType(node.kind)) {
        item = SpecialSystemItem::initWithType(*type, current(), std::string(node.name), node.size);
    } else if (node.kind == NodeKind::Package) {
        FolderRef package = FolderSystemItem::initWithPathSize(
            node.name, current(), 0, true, node.timeCode, node.hidden, node.cloud);
        package->addOwnBlocks(node.size);
        item = package;
    } else {
        item = FileSystemItem::initWithPathSize(node.name, current(), node.size, node.timeCode,
                                                node.hidden, node.cloud);
    }
    applyFlags(*item, node);
    mLastAdded = item.get();
    return std::nullopt;
}

std::optional<std::string> TreeAssembler::endFolder() {
    if (mOpen.empty()) {
        return std::string("a folder ends that was never begun");
    }
    mOpen.back()->childrenComplete();
    mOpen.pop_back();
    return std::nullopt;
}

std::optional<std::string> TreeAssembler::addOwnBlocks(std::int64_t bytes) {
    if (mOpen.empty()) {
        return std::string("an entry lies outside every folder");
    }
    if (auto error = countSize(bytes)) {
        return error;
    }
    mOpen.back()->addOwnBlocks(bytes);
    return std::nullopt;
}

std::optional<std::string> TreeAssembler::add(const SavedNode& node) {
    std::optional<std::string> error =
        node.kind == NodeKind::Folder ? beginFolder(node) : addLeaf(node);
    if (error) {
        return error;
    }
    if (!mRemaining.empty()) {
        --mRemaining.back();
    }
    if (node.kind == NodeKind::Folder) {
        mRemaining.push_back(node.children);
    }
    // Folders whose last child has come are closed, innermost first.
    while (!mRemaining.empty() && mRemaining.back() == 0) {
        mRemaining.pop_back();
        endFolder();
    }
    return std::nullopt;
}

FolderRef TreeAssembler::finish() {
    if (mRoot != nullptr) {
        mRoot->calctotalsizeex();
        sortTreeBySizeInParallel(*mRoot);
    }
    mOpen.clear();
    return std::move(mRoot);
}

}  // namespace korvex
