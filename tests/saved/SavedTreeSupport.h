#pragma once

#include "scan/saved/SavedScan.h"
#include "scan/saved/ScanFile.h"
#include "scan/tree/FolderSystemItem.h"

#include <string>

namespace korvex::test {

// One line per node, depth first: name, kind, size and (with `flags`) the
// marks a saved scan keeps. Two trees with the same text are the same tree.
inline void describeTree(const FileSystemItem& node, bool flags, std::string& out, int depth = 0) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += node.isSpecial() ? node.getDesc() : std::string(node.relativePath());
    out += node.isDir() ? (node.isPack() ? " [package] " : " [folder] ") : " ";
    out += std::to_string(node.gettotalsize());
    if (flags) {
        out += node.isHardLinked() ? " hardlink" : "";
        out += node.accessDenied() ? " denied" : "";
        out += node.isHiddenFlag() ? " hidden" : "";
    }
    out += '\n';
    for (std::size_t i = 0; i < node.numberOfChildren(); ++i) {
        describeTree(*node.childAtIndex(i), flags, out, depth + 1);
    }
}

inline std::string describeTree(const FileSystemItem& root, bool flags) {
    std::string out = root.fullPath() + "\n";
    describeTree(root, flags, out);
    return out;
}

// A scan of `root` as the command line would save it, with each entry's
// identity on disk.
inline SavedScan savedScanOfTree(FolderRef root) {
    SavedScan scan;
    scan.identities = identitiesOnDisk(*root);
    scan.root = std::move(root);
    scan.host = "testhost";
    scan.scanTime = 1'700'000'000;
    scan.entriesRead = 12;
    scan.seconds = 0.25;
    return scan;
}

}  // namespace korvex::test
