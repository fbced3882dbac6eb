#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::saved {

// A forgiving reader of JSON text for export files: strings may hold raw
// bytes that are not UTF-8 (file names are bytes, and exporters write them
// as they are). Nothing is built beyond the value asked for, nesting is
// walked without recursion, and the first failure is kept with its byte
// offset; later calls then fail at once.
class JsonScanner {
  public:
    explicit JsonScanner(std::string_view text) : mText(text) {}

    // Skips white space and answers the next character, 0 at the end.
    char peek();
    // Consumes `c` (after white space), or fails.
    bool expect(char c);
    // Consumes `c` when it comes next.
    bool accept(char c);
    // A string value; `maxLength` bounds the decoded bytes.
    std::string string(std::size_t maxLength);
    // A whole number, at most 2^63 - 1; fractions and exponents are refused.
    std::uint64_t unsignedNumber();
    bool boolean();
    // Any one value, however nested.
    void skipValue();
    // Fails unless only white space is left.
    void expectEnd();

    std::size_t offset() const { return mPos; }
    bool failed() const { return mError.has_value(); }
    void fail(const std::string& what, std::size_t at);
    void fail(const std::string& what) { fail(what, mPos); }
    const std::optional<std::string>& error() const { return mError; }

  private:
    void skipWhite();
    void skipNumber();
    bool word(std::string_view text);
    std::optional<std::uint32_t> hex4();

    std::string_view mText;
    std::size_t mPos = 0;
    std::optional<std::string> mError;
};

}  // namespace korvex::saved
