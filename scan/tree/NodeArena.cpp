#include "scan/tree/NodeArena.h"

#include <sys/mman.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

// Under the address sanitizer a node's memory is poisoned from its release
// on, and the leak checker looks through mapped chunks for the heap blocks
// that nodes point to (children lists).
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
constexpr std::size_t kChunkBytes = std::size_t{1} << kOffsetBits;
// A handle is the chunk's slot above the node's offset in 8-byte units.
constexpr unsigned kSlotShift = kOffsetBits - 3;
constexpr std::size_t kSlots = std::size_t{1} << (32 - kSlotShift);
static_assert(kMaxPlacement * 8 <= kChunkBytes);

struct Chunk {
    // Nodes living in the chunk, plus one while a thread still fills it.
    std::atomic<std::size_t> live{1};
    std::uint32_t slot;
    char* front;  // where the next node goes
    char* back;   // where the last name began
};
static_assert(sizeof(Chunk) % kNodeAlignment == 0);

std::atomic<std::size_t> gMappedChunks{0};

// The chunk of every slot. A handle is only met by a thread that learned of
// its node through some hand-over, which orders the slot's store before.
std::atomic<Chunk*> gSlots[kSlots];

class SlotPool {
  public:
    std::uint32_t take() {
        std::lock_guard lock(mLock);
        if (!mFree.empty()) {
            std::uint32_t slot = mFree.back();
            mFree.pop_back();
            return slot;
        }
        if (mNext == kSlots) {
            throw std::bad_alloc();
        }
        return mNext++;
    }
    void give(std::uint32_t slot) {
        std::lock_guard lock(mLock);
        mFree.push_back(slot);
    }

  private:
    std::mutex mLock;
    std::vector<std::uint32_t> mFree;
    std::uint32_t mNext = 0;
};

SlotPool& slotPool() {
    static SlotPool* pool = new SlotPool();  // outlives every thread's chunk
    return *pool;
}

std::size_t roundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

Chunk* chunkOf(const void* p) {
    return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(p) & ~(kChunkBytes - 1));
}

Chunk* mapChunk() {
    // Twice the alignment is mapped and the misaligned ends are cut off.
    const std::size_t span = 2 * kChunkBytes;
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
    ::munmap(reinterpret_cast<void*>(start + kChunkBytes), span - head - kChunkBytes);
    std::uint32_t slot = 0;
    try {
        slot = slotPool().take();
    } catch (...) {
        ::munmap(reinterpret_cast<void*>(start), kChunkBytes);
        throw;
    }
    char* base = reinterpret_cast<char*>(start);
    auto* chunk = ::new (base) Chunk();
    chunk->slot = slot;
    chunk->front = base + sizeof(Chunk);
    chunk->back = base + kChunkBytes;
    gSlots[slot].store(chunk, std::memory_order_release);
    KORVEX_POISON(chunk->front, kChunkBytes - sizeof(Chunk));
    KORVEX_SCAN_ROOTS(base, kChunkBytes);
    gMappedChunks.fetch_add(1, std::memory_order_relaxed);
    return chunk;
}

void dropReference(Chunk* chunk) noexcept {
    if (chunk->live.fetch_sub(1, std::memory_order_acq_rel) != 1) {
        return;
    }
    const std::uint32_t slot = chunk->slot;
    gSlots[slot].store(nullptr, std::memory_order_relaxed);
    // Other mappings may reuse the range; they must not find it poisoned.
    KORVEX_UNSCAN_ROOTS(chunk, kChunkBytes);
    KORVEX_UNPOISON(chunk, kChunkBytes);
    chunk->~Chunk();
    ::munmap(chunk, kChunkBytes);
    slotPool().give(slot);
    gMappedChunks.fetch_sub(1, std::memory_order_relaxed);
}

// The chunk this thread fills, and where recent names sit in it; the
// thread's hold on the chunk ends with the thread.
struct ThreadChunk {
    static constexpr std::size_t kRecentNames = 4096;
    Chunk* chunk = nullptr;
    // Offsets in `chunk` by name hash; 0 is empty (the header is there).
    std::array<std::uint32_t, kRecentNames> recentNames{};

    ~ThreadChunk() {
        if (chunk != nullptr) {
            dropReference(chunk);
        }
    }
    void startChunk(Chunk* fresh) {
        if (chunk != nullptr) {
            dropReference(chunk);
        }
        chunk = fresh;
        recentNames.fill(0);
    }
};
thread_local ThreadChunk tFilling;

std::size_t hashOf(std::string_view name) {
    std::uint32_t hash = 2166136261U;  // FNV-1a
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return hash;
}

// The copy of `name` met last in the chunk under the same hash, if it is one.
const char* recentCopy(const ThreadChunk& filling, std::size_t slot, std::string_view name) {
    const std::uint32_t offset = filling.recentNames[slot];
    if (offset == 0) {
        return nullptr;
    }
    const char* copy = reinterpret_cast<const char*>(filling.chunk) + offset;
    const std::size_t room = kChunkBytes - offset;
    if (room <= name.size() || copy[name.size()] != '\0' ||
        name.compare(0, name.size(), copy, name.size()) != 0) {
        return nullptr;
    }
    return copy;
}

}  // namespace

Placement allocate(std::size_t nodeBytes, std::string_view name) {
    nodeBytes = roundUp(nodeBytes, kNodeAlignment);
    const std::size_t nameBytes = name.size() + 1;
    const std::size_t need = nodeBytes + nameBytes;
    if (need > kMaxPlacement) {
        throw std::bad_alloc();
    }
    ThreadChunk& filling = tFilling;
    if (filling.chunk == nullptr ||
        static_cast<std::size_t>(filling.chunk->back - filling.chunk->front) < need) {
        filling.startChunk(mapChunk());
    }
    Chunk* chunk = filling.chunk;
    const std::size_t slot = hashOf(name) % ThreadChunk::kRecentNames;
    const char* copy = recentCopy(filling, slot, name);
    if (copy == nullptr) {
        chunk->back -= nameBytes;
        KORVEX_UNPOISON(chunk->back, nameBytes);
        std::memcpy(chunk->back, name.data(), name.size());
        chunk->back[name.size()] = '\0';
        copy = chunk->back;
        filling.recentNames[slot] = offsetInChunk(copy);
    }
    Placement place{chunk->front, copy};
    chunk->front += nodeBytes;
    chunk->live.fetch_add(1, std::memory_order_relaxed);
    KORVEX_UNPOISON(place.node, nodeBytes);
    return place;
}

void release(void* node, std::size_t nodeBytes) noexcept {
    KORVEX_POISON(node, roundUp(nodeBytes, kNodeAlignment));
    dropReference(chunkOf(node));
}

Handle handleOf(const void* node) noexcept {
    if (node == nullptr) {
        return kNoHandle;
    }
    const Chunk* chunk = chunkOf(node);
    const auto offset = static_cast<std::uint32_t>(static_cast<const char*>(node) -
                                                   reinterpret_cast<const char*>(chunk));
    // A node never sits at offset 0, where the chunk header is.
    return (chunk->slot << kSlotShift) | (offset >> 3);
}

void* fromHandle(Handle handle) noexcept {
    if (handle == kNoHandle) {
        return nullptr;
    }
    Chunk* chunk = gSlots[handle >> kSlotShift].load(std::memory_order_relaxed);
    const std::size_t offset = std::size_t{handle & ((1U << kSlotShift) - 1)} << 3;
    return reinterpret_cast<char*>(chunk) + offset;
}

std::uint32_t offsetInChunk(const void* p) noexcept {
    return static_cast<std::uint32_t>(static_cast<const char*>(p) -
                                      reinterpret_cast<const char*>(chunkOf(p)));
}

const char* atOffset(const void* sameChunk, std::uint32_t offset) noexcept {
    return reinterpret_cast<const char*>(chunkOf(sameChunk)) + offset;
}

std::size_t mappedChunks() {
    return gMappedChunks.load(std::memory_order_relaxed);
}

}  // namespace korvex::nodeArena
