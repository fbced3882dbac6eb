#pragma once

#include <cstdint>
#include <optional>

namespace korvex::sizeCode {

// A size in 32 bits. Allocated sizes are whole 512-byte blocks, so they are
// kept as blocks (top bit set) up to a little under 1 TiB; any other size
// below 2 GiB is kept in bytes. Everything else (bigger, negative) does not
// fit and is kept beside the node; kElsewhere marks that.
inline constexpr std::uint32_t kBlocksBit = 0x8000'0000U;
inline constexpr std::uint32_t kElsewhere = 0xFFFF'FFFFU;
inline constexpr std::int64_t kBlock = 512;

constexpr std::optional<std::uint32_t> encode(std::int64_t bytes) {
    if (bytes < 0) {
        return std::nullopt;
    }
    if (bytes < std::int64_t{kBlocksBit}) {
        // Small whole blocks are stored as bytes as well: same value either way.
        return static_cast<std::uint32_t>(bytes);
    }
    if (bytes % kBlock == 0 && bytes / kBlock < std::int64_t{kElsewhere - kBlocksBit}) {
        return kBlocksBit | static_cast<std::uint32_t>(bytes / kBlock);
    }
    return std::nullopt;
}

// Not for kElsewhere.
constexpr std::int64_t decode(std::uint32_t code) {
    return (code & kBlocksBit) != 0 ? std::int64_t{code & ~kBlocksBit} * kBlock
                                    : std::int64_t{code};
}

}  // namespace korvex::sizeCode
