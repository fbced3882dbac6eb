#include "scan/saved/SavedScanReader.h"

#include "scan/saved/ByteCursor.h"
#include "scan/saved/SavedScanFormat.h"
#include "scan/saved/TreeAssembler.h"
#include "scan/saved/ZstdFrame.h"

#include <array>
#include <memory>

namespace korvex {

namespace {

using namespace saved;

std::uint64_t littleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

SavedScanResult failure(std::string what) {
    return {std::nullopt, std::move(what)};
}

// The columns of the node table, each read on its own.
struct ColumnCursors {
    ByteCursor kinds, marks, counts, names, sizes;
    // Empty in files of version 1.
    ByteCursor devices, inodes;

    std::array<const ByteCursor*, 7> all() const {
        return {&kinds, &marks, &counts, &names, &sizes, &devices, &inodes};
    }
    const std::optional<std::string>& firstError() const {
        for (const ByteCursor* column : all()) {
            if (column->failed()) {
                return column->error();
            }
        }
        return kinds.error();
    }
};

ByteCursor column(ByteCursor& payload) {
    const std::size_t start = payload.offset();
    const std::uint64_t length = payload.varint();
    const std::size_t base = payload.offset();
    std::string_view bytes = payload.bytes(static_cast<std::size_t>(length));
    if (payload.failed()) {
        payload.fail("column of " + std::to_string(length) + " bytes starting at byte " +
                     std::to_string(start) + " runs past the data");
    }
    return ByteCursor(bytes, base);
}

// The identity of the next node, from the two identity columns.
class IdentityReader {
  public:
    std::optional<NodeIdentities::Identity> next(ColumnCursors& columns) {
        const std::uint64_t code = columns.devices.varint();
        if (code == 0 || columns.devices.failed()) {
            return std::nullopt;
        }
        if (code > 1) {
            mDevice = code - 2;
        }
        mInode += static_cast<std::uint64_t>(columns.inodes.signedVarint());
        return NodeIdentities::Identity{mDevice, mInode};
    }

  private:
    std::uint64_t mDevice = 0;
    std::uint64_t mInode = 0;
};

std::optional<std::string> readNodes(ByteCursor& payload, std::uint64_t version,
                                     TreeAssembler& tree, NodeIdentities& identities) {
    const std::uint64_t nodes = payload.count(payload.remaining());
    ColumnCursors columns{column(payload),
                          column(payload),
                          column(payload),
                          column(payload),
                          column(payload),
                          ByteCursor(std::string_view()),
                          ByteCursor(std::string_view())};
    const bool withIdentities = version >= 2;
    if (withIdentities) {
        columns.devices = column(payload);
        columns.inodes = column(payload);
    }
    IdentityReader identity;
    if (payload.failed()) {
        return payload.error();
    }
    if (nodes == 0) {
        return "the scan holds no nodes at byte " + std::to_string(payload.offset());
    }
    for (std::uint64_t i = 0; i < nodes; ++i) {
        SavedNode node;
        const std::size_t at = columns.kinds.offset();
        const std::uint8_t bits = columns.kinds.byte();
        const std::uint8_t mark = columns.marks.byte();
        node.kind = static_cast<NodeKind>(bits & kKindMask);
        node.hidden = (bits & kHiddenBit) != 0;
        node.cloud = (bits & kCloudBit) != 0;
        node.denied = (bits & kDeniedBit) != 0;
        node.hardLinked = (bits & kHardLinkBit) != 0;
        node.purgeableCache = (bits & kPurgeableCacheBit) != 0;
        node.timeCode = mark & kMarkTimeCodeMask;
        node.trash = (mark & kMarkTrashBit) != 0;
        node.name = columns.names.string(kMaxNameLength);
        node.size = columns.sizes.signedVarint();
        if (node.kind == NodeKind::Folder) {
            // Bounded by the nodes still to come, not by the column's bytes.
            node.children = columns.counts.varint();
            if (node.children > nodes - i - 1) {
                columns.counts.fail("a folder claims more children than the file holds");
            }
        }
        const std::optional<NodeIdentities::Identity> recorded =
            withIdentities ? identity.next(columns) : std::nullopt;
        if (const auto& error = columns.firstError()) {
            return error;
        }
        if (std::optional<std::string> refused = tree.add(node)) {
            return *refused + " (node " + std::to_string(i) + ", kind byte at " +
                   std::to_string(at) + ")";
        }
        if (recorded) {
            identities.add(tree.lastAdded(), *recorded);
        }
    }
    for (const ByteCursor* rest : columns.all()) {
        if (!rest->atEnd()) {
            return "unexpected data after the last node at byte " + std::to_string(rest->offset());
        }
    }
    if (!tree.complete()) {
        return std::string("the node table ends before its folders are complete");
    }
    if (!payload.atEnd()) {
        return "unexpected data after the node table at byte " + std::to_string(payload.offset());
    }
    return std::nullopt;
}

}  // namespace

bool looksLikeSavedScan(std::string_view head) {
    return head.starts_with(kMagic);
}

SavedScanResult decodeSavedScan(std::string_view file) {
    if (file.size() < kHeaderSize || !looksLikeSavedScan(file)) {
        return failure(file.size() < kMagic.size() || !looksLikeSavedScan(file)
                           ? "not a saved scan (no signature at byte 0)"
                           : "header ends early at byte " + std::to_string(file.size()));
    }
    const std::uint64_t version = littleEndian(file.substr(8, 4));
    if (version < kOldestVersion || version > kVersion) {
        return failure("format version " + std::to_string(version) +
                       " is not one this program reads (byte 8)");
    }
    const std::uint64_t payloadSize = littleEndian(file.substr(16, 8));
    if (payloadSize > kMaxPayload) {
        return failure("unpacked size " + std::to_string(payloadSize) +
                       " is beyond what a scan can take (byte 16)");
    }
    Unpacked unpacked = zstdDecompress(file.substr(kHeaderSize),
                                       static_cast<std::size_t>(payloadSize), kHeaderSize);
    if (unpacked.error) {
        return failure(*unpacked.error + " of the file");
    }
    ByteCursor payload(unpacked.bytes);
    SavedScan scan;
    scan.host = payload.string(kMaxNameLength);
    scan.scanTime = payload.signedVarint();
    scan.seconds = static_cast<double>(payload.varint()) / 1e6;
    scan.entriesRead = static_cast<std::int64_t>(payload.varint() & (~std::uint64_t{0} >> 1));
    const std::uint8_t flags = payload.byte();
    scan.cancelled = (flags & kScanCancelled) != 0;
    scan.rootDevice = payload.varint();
    scan.rootInode = payload.varint();
    TreeAssembler::RootFacts root;
    root.isVolume = (flags & kRootIsVolume) != 0;
    root.usesFreeSector = (flags & kRootUsesFreeSector) != 0;
    if (root.isVolume) {
        root.capacity = payload.signedVarint();
        root.freeSpace = payload.signedVarint();
        root.reserved = payload.signedVarint();
    }
    const std::uint64_t denied = payload.count(payload.remaining());
    for (std::uint64_t i = 0; i < denied && !payload.failed(); ++i) {
        scan.deniedFolders.emplace_back(payload.string(kMaxNameLength));
    }
    if (payload.failed()) {
        return failure(*payload.error() + " of the unpacked scan");
    }
    TreeAssembler tree(root);
    auto identities = std::make_shared<NodeIdentities>();
    if (std::optional<std::string> error = readNodes(payload, version, tree, *identities)) {
        return failure(*error + " of the unpacked scan");
    }
    scan.root = tree.finish();
    if (!identities->empty()) {
        identities->seal();
        scan.identities = std::move(identities);
    }
    return {std::move(scan), {}};
}

}  // namespace korvex
