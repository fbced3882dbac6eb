#include "platform/MemoryReuse.h"

#include <malloc.h>

namespace korvex::platform {

namespace {

// Blocks below this size come from the reused heap, not mappings of their
// own; freed memory beyond this much at the heap's top goes back to the
// system. Large enough for a full-screen image, small enough that a closed
// scan's memory is returned.
constexpr int kReusedBytes = 32 << 20;

}  // namespace

void keepFreedMemoryForReuse() {
    ::mallopt(M_MMAP_THRESHOLD, kReusedBytes);
    ::mallopt(M_TRIM_THRESHOLD, kReusedBytes);
}

}  // namespace korvex::platform
