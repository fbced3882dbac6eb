#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::saved {

// Writes the integers and strings of the saved-scan format: little-endian
// base-128 varints, signed ones zigzag-folded, strings as a length and bytes.
class ByteSink {
  public:
    void putVarint(std::uint64_t value);
    void putSigned(std::int64_t value);
    void putByte(std::uint8_t value) { mBytes.push_back(static_cast<char>(value)); }
    void putString(std::string_view text);
    void putBytes(std::string_view bytes) { mBytes.append(bytes); }
    const std::string& bytes() const { return mBytes; }
    std::size_t size() const { return mBytes.size(); }

  private:
    std::string mBytes;
};

// Reads what ByteSink wrote from untrusted bytes. Every read checks the
// bounds; the first failure is kept with its offset and every later read
// fails too, so a caller may read a whole record and check once.
class ByteCursor {
  public:
    // `base` is the offset of `bytes` in the larger buffer errors refer to.
    explicit ByteCursor(std::string_view bytes, std::size_t base = 0)
        : mBytes(bytes), mBase(base) {}

    std::uint64_t varint();
    std::int64_t signedVarint();
    std::uint8_t byte();
    // A string of at most `maxLength` bytes.
    std::string_view string(std::size_t maxLength);
    std::string_view bytes(std::size_t count);
    // A count that cannot be more than the bytes left, each counted item
    // taking at least one byte: guards allocations made from counts.
    std::uint64_t count(std::uint64_t limit);

    bool atEnd() const { return mPos == mBytes.size(); }
    bool failed() const { return mError.has_value(); }
    std::size_t offset() const { return mBase + mPos; }
    std::size_t remaining() const { return mBytes.size() - mPos; }
    // Records a failure at the current offset (the first one wins).
    void fail(std::string what);
    const std::optional<std::string>& error() const { return mError; }

  private:
    std::string_view mBytes;
    std::size_t mBase;
    std::size_t mPos = 0;
    std::optional<std::string> mError;
};

}  // namespace korvex::saved
