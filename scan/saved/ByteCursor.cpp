#include "scan/saved/ByteCursor.h"

namespace korvex::saved {

void ByteSink::putVarint(std::uint64_t value) {
    while (value >= 0x80) {
        putByte(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    putByte(static_cast<std::uint8_t>(value));
}

void ByteSink::putSigned(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    putVarint((bits << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0));
}

void ByteSink::putString(std::string_view text) {
    putVarint(text.size());
    putBytes(text);
}

void ByteCursor::fail(std::string what) {
    if (!mError) {
        mError = what + " at byte " + std::to_string(offset());
    }
}

std::uint8_t ByteCursor::byte() {
    if (failed()) {
        return 0;
    }
    if (mPos >= mBytes.size()) {
        fail("unexpected end of data");
        return 0;
    }
    return static_cast<std::uint8_t>(mBytes[mPos++]);
}

std::uint64_t ByteCursor::varint() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const std::uint8_t next = byte();
        if (failed()) {
            return 0;
        }
        if (shift == 63 && next > 1) {
            break;
        }
        value |= std::uint64_t{next & 0x7Fu} << shift;
        if ((next & 0x80) == 0) {
            return value;
        }
    }
    fail("number too long");
    return 0;
}

std::int64_t ByteCursor::signedVarint() {
    const std::uint64_t folded = varint();
    return static_cast<std::int64_t>((folded >> 1) ^ (~(folded & 1) + 1));
}

std::string_view ByteCursor::bytes(std::size_t count) {
    if (failed()) {
        return {};
    }
    if (count > remaining()) {
        fail("unexpected end of data");
        return {};
    }
    std::string_view out = mBytes.substr(mPos, count);
    mPos += count;
    return out;
}

std::string_view ByteCursor::string(std::size_t maxLength) {
    const std::size_t start = offset();
    const std::uint64_t length = varint();
    if (!failed() && length > maxLength) {
        mError = "text of " + std::to_string(length) + " bytes is longer than " +
                 std::to_string(maxLength) + " at byte " + std::to_string(start);
        return {};
    }
    return bytes(static_cast<std::size_t>(length));
}

std::uint64_t ByteCursor::count(std::uint64_t limit) {
    const std::size_t start = offset();
    const std::uint64_t value = varint();
    if (!failed() && (value > limit || value > remaining())) {
        mError = "count " + std::to_string(value) + " is more than the data holds at byte " +
                 std::to_string(start);
        return 0;
    }
    return value;
}

}  // namespace korvex::saved
