#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvex::nodeArena {

// Memory of tree nodes. Every thread bumps through chunks of its own, so
// building a tree takes no lock and a node carries no allocator header;
// names are packed from the other end of the same chunk, without alignment
// padding, and a name met again while the chunk fills is stored once (the
// same few names recur all over a disk). A chunk counts the nodes living in
// it and goes back to the system with the last of them: a node held past its
// tree (a cut item, the removal collection, the diagram) keeps its chunk
// alive.
//
// Every chunk has a slot in a process-wide table, so a node can be named in
// 32 bits (a handle: slot and offset) and its name in 20 (an offset in the
// node's own chunk).
inline constexpr std::size_t kNodeAlignment = 8;
// What one placement may take at most, node and name together; longer names
// live elsewhere (see FileSystemItem).
inline constexpr std::size_t kMaxPlacement = std::size_t{16} << 10;
// Every offset inside a chunk fits in this many bits.
inline constexpr unsigned kOffsetBits = 20;

using Handle = std::uint32_t;
inline constexpr Handle kNoHandle = 0;

struct Placement {
    void* node;        // uninitialised
    const char* name;  // a terminated copy of the name, in the node's chunk
};

// Room for a node of `nodeBytes` beside its name; node and name together take
// at most kMaxPlacement.
Placement allocate(std::size_t nodeBytes, std::string_view name);
// Gives back a node whose destructor has run (or whose constructor threw).
void release(void* node, std::size_t nodeBytes) noexcept;

// The 32-bit name of a node's address, and back; kNoHandle stands for null.
Handle handleOf(const void* node) noexcept;
void* fromHandle(Handle handle) noexcept;

// Offset of `p` in its chunk, and the address at `offset` in the chunk of
// `sameChunk`.
std::uint32_t offsetInChunk(const void* p) noexcept;
const char* atOffset(const void* sameChunk, std::uint32_t offset) noexcept;

// Chunks currently mapped, by every thread.
std::size_t mappedChunks();

}  // namespace korvex::nodeArena
