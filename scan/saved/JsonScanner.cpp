#include "scan/saved/JsonScanner.h"

#include <vector>

namespace korvex::saved {

namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    auto put = [&](std::uint32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

}  // namespace

void JsonScanner::fail(const std::string& what, std::size_t at) {
    if (!mError) {
        mError = what + " at byte " + std::to_string(at);
    }
}

void JsonScanner::skipWhite() {
    while (mPos < mText.size() && (mText[mPos] == ' ' || mText[mPos] == '\n' ||
                                   mText[mPos] == '\r' || mText[mPos] == '\t')) {
        ++mPos;
    }
}

char JsonScanner::peek() {
    if (failed()) {
        return 0;
    }
    skipWhite();
    return mPos < mText.size() ? mText[mPos] : '\0';
}

bool JsonScanner::accept(char c) {
    if (peek() == c && !failed() && mPos < mText.size()) {
        ++mPos;
        return true;
    }
    return false;
}

bool JsonScanner::expect(char c) {
    if (accept(c)) {
        return true;
    }
    if (mPos >= mText.size()) {
        fail(std::string("unexpected end of data, expected '") + c + "'");
    } else {
        fail(std::string("expected '") + c + "'");
    }
    return false;
}

std::optional<std::uint32_t> JsonScanner::hex4() {
    if (mText.size() - mPos < 4) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = mText[mPos++];
        value <<= 4;
        if (c >= '0' && c <= '9') {
            value |= static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            value |= static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            value |= static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
    }
    return value;
}

std::string JsonScanner::string(std::size_t maxLength) {
    std::string out;
    const std::size_t start = mPos;
    if (!expect('"')) {
        return out;
    }
    while (true) {
        if (mPos >= mText.size()) {
            fail("text that begins at byte " + std::to_string(start) + " never ends");
            return {};
        }
        if (out.size() > maxLength) {
            fail("text longer than " + std::to_string(maxLength) + " bytes", start);
            return {};
        }
        const char c = mText[mPos++];
        if (c == '"') {
            return out;
        }
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (mPos >= mText.size()) {
            continue;  // reported as the unended text above
        }
        const std::size_t escape = mPos - 1;
        switch (mText[mPos++]) {
            case '"':
                out.push_back('"');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case '/':
                out.push_back('/');
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                std::optional<std::uint32_t> code = hex4();
                if (!code) {
                    fail("bad \\u escape", escape);
                    return {};
                }
                // A high surrogate followed by a low one is one character;
                // an unpaired one is kept as its own three bytes.
                if (*code >= 0xD800 && *code < 0xDC00 && mText.substr(mPos, 2) == "\\u") {
                    const std::size_t back = mPos;
                    mPos += 2;
                    std::optional<std::uint32_t> low = hex4();
                    if (low && *low >= 0xDC00 && *low < 0xE000) {
                        *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                    } else {
                        mPos = back;
                    }
                }
                appendUtf8(out, *code);
                break;
            }
            default:
                fail("unknown escape", escape);
                return {};
        }
    }
}

std::uint64_t JsonScanner::unsignedNumber() {
    const std::size_t start = (peek(), mPos);
    if (failed()) {
        return 0;
    }
    std::uint64_t value = 0;
    std::size_t digits = 0;
    while (mPos < mText.size() && mText[mPos] >= '0' && mText[mPos] <= '9') {
        const auto digit = static_cast<std::uint64_t>(mText[mPos] - '0');
        if (value > (std::uint64_t{INT64_MAX} - digit) / 10) {
            fail("number too large", start);
            return 0;
        }
        value = value * 10 + digit;
        ++mPos;
        ++digits;
    }
    if (digits == 0 ||
        (mPos < mText.size() && (mText[mPos] == '.' || mText[mPos] == 'e' || mText[mPos] == 'E'))) {
        fail("expected a whole number of zero or more", start);
        return 0;
    }
    return value;
}

bool JsonScanner::word(std::string_view text) {
    if (mText.substr(mPos, text.size()) == text) {
        mPos += text.size();
        return true;
    }
    return false;
}

bool JsonScanner::boolean() {
    peek();
    if (word("true")) {
        return true;
    }
    if (!word("false")) {
        fail("expected true or false");
    }
    return false;
}

void JsonScanner::skipNumber() {
    const std::size_t start = mPos;
    accept('-');
    while (mPos < mText.size() &&
           std::string_view("0123456789.eE+-").find(mText[mPos]) != std::string_view::npos) {
        ++mPos;
    }
    if (mPos == start) {
        fail("expected a value");
    }
}

void JsonScanner::skipValue() {
    // Each open array or object is one entry: ']' or '}'.
    std::vector<char> closers;
    do {
        const char c = peek();
        if (failed()) {
            return;
        }
        if (c == '[' || c == '{') {
            ++mPos;
            closers.push_back(c == '[' ? ']' : '}');
            if (accept(closers.back())) {
                closers.pop_back();
            } else if (c == '{') {
                string(SIZE_MAX);
                expect(':');
                continue;
            } else {
                continue;
            }
        } else if (c == '"') {
            string(SIZE_MAX);
        } else if (word("true") || word("false") || word("null")) {
        } else {
            skipNumber();
        }
        // After a value: the next element, or the end of what holds it.
        while (!closers.empty() && !failed()) {
            if (accept(',')) {
                if (closers.back() == '}') {
                    string(SIZE_MAX);
                    expect(':');
                }
                break;
            }
            if (!expect(closers.back())) {
                return;
            }
            closers.pop_back();
        }
    } while (!closers.empty() && !failed());
}

void JsonScanner::expectEnd() {
    if (peek() != '\0' || mPos != mText.size()) {
        fail("unexpected data after the end");
    }
}

}  // namespace korvex::saved
