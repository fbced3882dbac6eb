#include "scan/saved/SavedScanWriter.h"

#include "platform/fs/AtomicFileWrite.h"
#include "scan/saved/ByteCursor.h"
#include "scan/saved/SavedScanFormat.h"
#include "scan/saved/ZstdFrame.h"
#include "scan/tree/VolumeSystemItem.h"

#include <cmath>
#include <vector>

namespace korvex {

namespace {

using namespace saved;

// Level 9 packs a million-entry tree well under a second; the levels above
// cost several times that for a few percent.
constexpr int kCompressionLevel = 9;

NodeKind kindOf(const FileSystemItem& node) {
    if (node.isUnscanned()) {
        return NodeKind::Unscanned;
    }
    if (node.isInaccessible()) {
        return NodeKind::Inaccessible;
    }
    if (node.isPurgeable()) {
        return NodeKind::Purgeable;
    }
    if (node.isPack()) {
        return NodeKind::Package;
    }
    return node.isDir() ? NodeKind::Folder : NodeKind::File;
}

struct Columns {
    ByteSink kinds, marks, counts, names, sizes, devices, inodes;
    std::uint64_t nodes = 0;
    std::uint64_t lastDevice = 0;
    std::uint64_t lastInode = 0;

    void addIdentity(const std::optional<NodeIdentities::Identity>& identity) {
        if (!identity) {
            devices.putVarint(0);
            return;
        }
        devices.putVarint(identity->device == lastDevice ? 1 : identity->device + 2);
        inodes.putSigned(static_cast<std::int64_t>(identity->inode - lastInode));
        lastDevice = identity->device;
        lastInode = identity->inode;
    }

    void add(const FileSystemItem& node, bool isRoot, const NodeIdentities* identities) {
        addIdentity(identities != nullptr ? identities->of(&node) : std::nullopt);
        const NodeKind kind = kindOf(node);
        std::uint8_t bits = static_cast<std::uint8_t>(kind);
        bits |= node.isHiddenFlag() ? kHiddenBit : 0;
        bits |= node.isCloudStored() ? kCloudBit : 0;
        bits |= node.accessDenied() ? kDeniedBit : 0;
        bits |= node.isHardLinked() ? kHardLinkBit : 0;
        bits |= node.isPurgeableCache() ? kPurgeableCacheBit : 0;
        kinds.putByte(bits);
        marks.putByte(static_cast<std::uint8_t>((node.getTimeCode() & kMarkTimeCodeMask) |
                                                (node.isTrashFlag() ? kMarkTrashBit : 0)));
        if (node.isSpecial()) {
            names.putString(node.getDesc());
            sizes.putSigned(node.gettotalsize());
        } else if (node.isDir()) {
            names.putString(isRoot ? node.fullPath() : std::string(node.relativePath()));
            sizes.putSigned(static_cast<const FolderSystemItem&>(node).ownCountedSize());
            counts.putVarint(node.numberOfChildren());
        } else {
            names.putString(node.relativePath());
            sizes.putSigned(node.selfSize());
        }
        ++nodes;
    }
};

void putFacts(ByteSink& out, const SavedScan& scan) {
    const FolderSystemItem& root = *scan.root;
    out.putString(scan.host);
    out.putSigned(scan.scanTime);
    out.putVarint(static_cast<std::uint64_t>(std::llround(std::max(scan.seconds, 0.0) * 1e6)));
    out.putVarint(static_cast<std::uint64_t>(std::max<std::int64_t>(scan.entriesRead, 0)));
    std::uint8_t flags = 0;
    flags |= root.isVol() ? kRootIsVolume : 0;
    flags |= root.getUseFreeSector() ? kRootUsesFreeSector : 0;
    flags |= scan.cancelled ? kScanCancelled : 0;
    out.putByte(flags);
    out.putVarint(scan.rootDevice);
    out.putVarint(scan.rootInode);
    if (root.isVol()) {
        const auto& volume = static_cast<const VolumeSystemItem&>(root);
        out.putSigned(volume.getVolSize());
        out.putSigned(volume.getVolFreeSize());
        out.putSigned(volume.getVolReservedSize());
    }
    out.putVarint(scan.deniedFolders.size());
    for (const std::string& folder : scan.deniedFolders) {
        out.putString(folder);
    }
}

void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string encodeSavedScan(const SavedScan& scan) {
    Columns columns;
    // Depth-first, parent before children, without recursion: trees can be
    // deeper than the stack would like.
    std::vector<const FileSystemItem*> pending{scan.root.get()};
    bool isRoot = true;
    while (!pending.empty()) {
        const FileSystemItem* node = pending.back();
        pending.pop_back();
        columns.add(*node, isRoot, scan.identities.get());
        isRoot = false;
        for (std::size_t i = node->numberOfChildren(); i-- > 0;) {
            pending.push_back(node->childAtIndex(i));
        }
    }
    ByteSink payload;
    putFacts(payload, scan);
    payload.putVarint(columns.nodes);
    for (const ByteSink* column : {&columns.kinds, &columns.marks, &columns.counts, &columns.names,
                                   &columns.sizes, &columns.devices, &columns.inodes}) {
        payload.putString(column->bytes());
    }
    std::string file(kMagic);
    putLittleEndian(file, kVersion, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, payload.size(), 8);
    file += zstdCompress(payload.bytes(), kCompressionLevel);
    return file;
}

std::optional<std::string> writeSavedScan(const SavedScan& scan, const std::string& path) {
    return platform::writeFileAtomically(path, encodeSavedScan(scan));
}

}  // namespace korvex
