#include "scan/tree/NodeArena.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <new>

// Under the address sanitizer a node's memory is poisoned from its release
// on, and the leak checker looks through mapped chunks for the heap blocks
// that nodes point to (children lists, attributes).
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#define KORVEX_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KORVEX_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#define KORVEX_SCAN_ROOTS(p, n) __lsan_register_root_region(p, n)
#define KORVEX_UNSCAN_ROOTS(p, n) __lsan_unregister_root_region(p, n)
#else
#define KORVEX_POISON(p, n) ((void)(p), (void)(n))
#define KORVEX_UNPOISON(p, n) ((void)(p), (void)(n))
#define KORVEX_SCAN_ROOTS(p, n) ((void)(p), (void)(n))
#define KORVEX_UNSCAN_ROOTS(p, n) ((void)(p), (void)(n))
#endif

namespace korvex::nodeArena {

namespace {

// Chunks are aligned to their size, so a node finds its chunk's header by
// masking its own address.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
// Bigger requests (a scan root's very long path) get a chunk of their own.
constexpr std::size_t kSharedLimit = kChunkBytes / 8;

struct Chunk {
    // Nodes living in the chunk, plus one while a thread still fills it.
    std::atomic<std::size_t> live{1};
    std::size_t mappedBytes;
    char* front;  // where the next node goes
    char* back;   // where the last name began
};
static_assert(sizeof(Chunk) % kNodeAlignment == 0);

std::atomic<std::size_t> gMappedChunks{0};

std::size_t roundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

Chunk* chunkOf(void* node) {
    return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(node) & ~(kChunkBytes - 1));
}

Chunk* mapChunk(std::size_t bytes) {
    // Twice the alignment is mapped and the misaligned ends are cut off.
    const std::size_t span = bytes + kChunkBytes;
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto rawStart = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = roundUp(rawStart, kChunkBytes);
    const std::size_t head = start - rawStart;
    if (head != 0) {
        ::munmap(raw, head);
    }
    if (span - head > bytes) {
        ::munmap(reinterpret_cast<void*>(start + bytes), span - head - bytes);
    }
    char* base = reinterpret_cast<char*>(start);
    auto* chunk = ::new (base) Chunk();
    chunk->mappedBytes = bytes;
    chunk->front = base + sizeof(Chunk);
    chunk->back = base + bytes;
    KORVEX_POISON(chunk->front, bytes - sizeof(Chunk));
    KORVEX_SCAN_ROOTS(base, bytes);
    gMappedChunks.fetch_add(1, std::memory_order_relaxed);
    return chunk;
}

void dropReference(Chunk* chunk) noexcept {
    if (chunk->live.fetch_sub(1, std::memory_order_acq_rel) != 1) {
        return;
    }
    const std::size_t bytes = chunk->mappedBytes;
    // Other mappings may reuse the range; they must not find it poisoned.
    KORVEX_UNSCAN_ROOTS(chunk, bytes);
    KORVEX_UNPOISON(chunk, bytes);
    chunk->~Chunk();
    ::munmap(chunk, bytes);
    gMappedChunks.fetch_sub(1, std::memory_order_relaxed);
}

// The chunk this thread fills; its hold on the chunk ends with the thread.
struct ThreadChunk {
    Chunk* chunk = nullptr;
    ~ThreadChunk() {
        if (chunk != nullptr) {
            dropReference(chunk);
        }
    }
};
thread_local ThreadChunk tFilling;

Placement carve(Chunk* chunk, std::size_t nodeBytes, std::size_t nameBytes) {
    Placement place{chunk->front, chunk->back - nameBytes};
    chunk->front += nodeBytes;
    chunk->back -= nameBytes;
    chunk->live.fetch_add(1, std::memory_order_relaxed);
    KORVEX_UNPOISON(place.node, nodeBytes);
    KORVEX_UNPOISON(place.name, nameBytes);
    return place;
}

}  // namespace

Placement allocate(std::size_t nodeBytes, std::size_t nameBytes) {
    nodeBytes = roundUp(nodeBytes, kNodeAlignment);
    const std::size_t need = nodeBytes + nameBytes;
    if (need > kSharedLimit) {
        Chunk* own = mapChunk(roundUp(sizeof(Chunk) + need, kChunkBytes));
        Placement place = carve(own, nodeBytes, nameBytes);
        dropReference(own);  // nobody fills it further
        return place;
    }
    Chunk*& chunk = tFilling.chunk;
    if (chunk == nullptr || static_cast<std::size_t>(chunk->back - chunk->front) < need) {
        Chunk* fresh = mapChunk(kChunkBytes);
        if (chunk != nullptr) {
            dropReference(chunk);
        }
        chunk = fresh;
    }
    return carve(chunk, nodeBytes, nameBytes);
}

void release(void* node, std::size_t nodeBytes) noexcept {
    KORVEX_POISON(node, roundUp(nodeBytes, kNodeAlignment));
    dropReference(chunkOf(node));
}

std::size_t mappedChunks() {
    return gMappedChunks.load(std::memory_order_relaxed);
}

}  // namespace korvex::nodeArena
