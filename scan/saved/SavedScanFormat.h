#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The layout of a saved-scan file, shared by its writer and its reader.
//
// A file is a fixed header followed by one zstd stream:
//   magic "KORVEXSC", u32 format version, u32 zero, u64 size of the unpacked
//   payload (all little-endian).
// The payload holds the scan's facts, then the node count and seven columns
// of the nodes in depth-first order, parent before children, each column
// prefixed by its length: one column per kind of value compresses far better
// than whole records would.
//   kinds  one byte per node: kind in bits 0-2, then the flag bits below
//   marks  one byte per node: the time code and the trash flag
//   counts a varint per folder: how many children follow it
//   names  a string per node (a special node's description; the root's
//          absolute path)
//   sizes  a zigzag varint per node: a file's bytes, a folder's own blocks
//   devices a varint per node: 0 identity unknown, 1 the device of the last
//          node with one, else the device plus 2
//   inodes a zigzag varint per node with a known identity: the change from
//          the last one (entries made together have inodes close together)
// Version 1 files end after the sizes and record no identities.
namespace korvex::saved {

inline constexpr std::string_view kMagic = "KORVEXSC";
inline constexpr std::uint32_t kVersion = 2;
inline constexpr std::uint32_t kOldestVersion = 1;
inline constexpr std::size_t kHeaderSize = 24;

enum class NodeKind : std::uint8_t {
    File = 0,
    Folder = 1,
    Package = 2,
    Unscanned = 3,
    Inaccessible = 4,
    Purgeable = 5,
};
inline constexpr std::uint8_t kKindMask = 0x07;
inline constexpr std::uint8_t kHiddenBit = 0x08;
inline constexpr std::uint8_t kCloudBit = 0x10;
inline constexpr std::uint8_t kDeniedBit = 0x20;
inline constexpr std::uint8_t kHardLinkBit = 0x40;
inline constexpr std::uint8_t kPurgeableCacheBit = 0x80;

inline constexpr std::uint8_t kMarkTimeCodeMask = 0x0F;
inline constexpr std::uint8_t kMarkTrashBit = 0x10;

// Limits the reader enforces on untrusted files.
inline constexpr std::size_t kMaxNameLength = 4096;
inline constexpr std::size_t kMaxDepth = 4096;
inline constexpr std::uint64_t kMaxPayload = std::uint64_t{4} << 30;

// Root flags in the facts block.
inline constexpr std::uint8_t kRootIsVolume = 0x01;
inline constexpr std::uint8_t kRootUsesFreeSector = 0x02;
inline constexpr std::uint8_t kScanCancelled = 0x04;

}  // namespace korvex::saved
