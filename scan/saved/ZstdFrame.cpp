#include "scan/saved/ZstdFrame.h"

#include <zstd.h>

#include <algorithm>
#include <memory>

namespace korvex::saved {

std::string zstdCompress(std::string_view bytes, int level) {
    std::string out(ZSTD_compressBound(bytes.size()), '\0');
    const std::size_t size =
        ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), level);
    // Compression into a buffer of the bound's size cannot fail short of
    // running out of memory, which throws before we get here.
    out.resize(ZSTD_isError(size) ? 0 : size);
    return out;
}

Unpacked zstdDecompress(std::string_view compressed, std::size_t expectedSize, std::size_t base) {
    Unpacked result;
    std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
    // Frames that ask for a huge window are refused rather than served.
    ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, 27);
    ZSTD_inBuffer in{compressed.data(), compressed.size(), 0};
    const std::size_t chunk = std::max<std::size_t>(ZSTD_DStreamOutSize(), 1);
    auto fail = [&](const std::string& what) {
        result.bytes.clear();
        result.error = what + " at byte " + std::to_string(base + in.pos);
        return std::move(result);
    };
    std::size_t status = 1;
    while (true) {
        const std::size_t room = std::min(chunk, expectedSize - result.bytes.size());
        const std::size_t before = result.bytes.size();
        // One byte more than expected is asked for, so that too much data shows.
        result.bytes.resize(before + room + 1);
        ZSTD_outBuffer out{result.bytes.data() + before, room + 1, 0};
        status = ZSTD_decompressStream(context.get(), &out, &in);
        result.bytes.resize(before + out.pos);
        if (ZSTD_isError(status)) {
            return fail(std::string("compressed data is damaged (") + ZSTD_getErrorName(status) +
                        ")");
        }
        if (result.bytes.size() > expectedSize) {
            return fail("compressed data unpacks to more than the header says");
        }
        if (status == 0) {
            break;  // the frame is complete
        }
        if (in.pos == in.size && out.pos == 0) {
            return fail("compressed data ends early");
        }
    }
    if (in.pos != in.size) {
        return fail("data follows the end of the compressed stream");
    }
    if (result.bytes.size() != expectedSize) {
        return fail("compressed data unpacks to fewer bytes than the header says");
    }
    return result;
}

}  // namespace korvex::saved
