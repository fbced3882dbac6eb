#include "scan/format/TempPaths.h"

#include "platform/fs/EntryExists.h"
#include "scan/format/PathUtils.h"

#include <cstdlib>
#include <mutex>
#include <random>

namespace korvex {

namespace {

constexpr std::string_view kAlphanumerics =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr const char* kAppTempFolder = "korvex";

std::string temporaryDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] == '/' ? std::string(tmp) : std::string("/tmp");
}

std::string freePath(const std::string& base) {
    for (std::size_t length = 10;; ++length) {
        std::string candidate = joinPathComponent(base, randomStringWithLength(length));
        if (!platform::somethingExistsAt(candidate)) {
            return candidate;
        }
    }
}

}  // namespace

std::string randomStringWithLength(std::size_t length, std::string_view alphabet) {
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    std::lock_guard guard(mutex);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(length, ' ');
    for (char& c : text) {
        c = alphabet[pick(engine)];
    }
    return text;
}

std::string randomStringWithLength(std::size_t length) {
    return randomStringWithLength(length, kAlphanumerics);
}

std::string DataChangeCommon::buildTempPathInPath(const std::optional<std::string>& base) {
    return freePath(base ? *base : joinPathComponent(temporaryDirectory(), kAppTempFolder));
}

}  // namespace korvex
