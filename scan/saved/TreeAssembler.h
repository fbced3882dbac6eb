#pragma once

#include "scan/saved/SavedScanFormat.h"
#include "scan/tree/FolderSystemItem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// One node as a scan file describes it, before it becomes part of a tree.
struct SavedNode {
    saved::NodeKind kind = saved::NodeKind::File;
    std::string_view name;       // the root's absolute path; a special node's description
    std::int64_t size = 0;       // a file's bytes, a folder's own blocks
    std::uint64_t children = 0;  // folders, for the counted form of add()
    std::uint8_t timeCode = 0;
    bool hidden = false;
    bool cloud = false;
    bool denied = false;
    bool hardLinked = false;
    bool purgeableCache = false;
    bool trash = false;
};

// Builds a tree from nodes read out of a file, depth first, through the
// tree's own construction functions. Every node is checked first: names must
// be single path components (the root an absolute path), sizes must be sane
// and the depth bounded, so a forged file cannot make a tree the rest of the
// program would trip over. Each refusal is answered as a text.
class TreeAssembler {
  public:
    struct RootFacts {
        bool isVolume = false;
        bool usesFreeSector = false;
        std::int64_t capacity = 0;
        std::int64_t freeSpace = 0;
        std::int64_t reserved = 0;
    };
    TreeAssembler() = default;
    explicit TreeAssembler(RootFacts root) : mRootFacts(root) {}

    // Nested form: a folder is begun, filled and ended.
    std::optional<std::string> beginFolder(const SavedNode& node);
    std::optional<std::string> addLeaf(const SavedNode& node);
    std::optional<std::string> endFolder();
    // Blocks of entries that get no node of their own (links, devices),
    // counted into the open folder.
    std::optional<std::string> addOwnBlocks(std::int64_t bytes);

    // Counted form: a folder's `children` count says how many of the
    // following nodes (with their subtrees) belong to it.
    std::optional<std::string> add(const SavedNode& node);

    // The node the last begin, add or leaf call made.
    FileSystemItem* lastAdded() const { return mLastAdded; }

    // Whether the root has been ended.
    bool complete() const { return mRoot != nullptr && mOpen.empty(); }
    // Sums and sorts the finished tree and hands it over.
    FolderRef finish();

  private:
    std::optional<std::string> checkNode(const SavedNode& node) const;
    std::optional<std::string> countSize(std::int64_t bytes);
    FolderSystemItem* current() const { return mOpen.empty() ? nullptr : mOpen.back(); }
    void applyFlags(FileSystemItem& item, const SavedNode& node) const;

    RootFacts mRootFacts{};
    FolderRef mRoot;
    FileSystemItem* mLastAdded = nullptr;
    std::vector<FolderSystemItem*> mOpen;
    // For the counted form: children still to come, per open folder.
    std::vector<std::uint64_t> mRemaining;
    std::int64_t mTotal = 0;
};

}  // namespace korvex
