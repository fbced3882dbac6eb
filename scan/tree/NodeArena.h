#pragma once

#include <cstddef>

namespace korvex::nodeArena {

// Memory of tree nodes. Every thread bumps through chunks of its own, so
// building a tree takes no lock and a node carries no allocator header;
// names are packed from the other end of the same chunk, without alignment
// padding. A chunk counts the nodes living in it and goes back to the system
// with the last of them: a node held past its tree (a cut item, the removal
// collection, the diagram) keeps its chunk alive, and nothing it points to
// dangles.
inline constexpr std::size_t kNodeAlignment = 8;

struct Placement {
    void* node;
    char* name;
};

// Room for a node of `nodeBytes` and a name of `nameBytes`, both uninitialised.
Placement allocate(std::size_t nodeBytes, std::size_t nameBytes);
// Gives back a node whose destructor has run (or whose constructor threw).
void release(void* node, std::size_t nodeBytes) noexcept;
// Chunks currently mapped, by every thread.
std::size_t mappedChunks();

}  // namespace korvex::nodeArena
