#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::saved {

std::string zstdCompress(std::string_view bytes, int level);

// Unpacks one zstd stream that must give exactly `expectedSize` bytes. The
// output grows only as real data comes out of the stream, never ahead of it,
// so a forged size cannot make it allocate more than the data unpacks to.
// `base` is the offset of `compressed` in the file, for error texts.
struct Unpacked {
    std::string bytes;
    std::optional<std::string> error;
};
Unpacked zstdDecompress(std::string_view compressed, std::size_t expectedSize, std::size_t base);

}  // namespace korvex::saved
