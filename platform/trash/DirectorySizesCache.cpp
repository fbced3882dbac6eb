#include "platform/trash/DirectorySizesCache.h"

#include "platform/fs/PercentEncoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

namespace korvex::platform {

namespace {

// Items are trashed from several threads at once; each rewrite must start
// from the file the previous one left.
std::mutex& rewriteLock() {
    static std::mutex lock;
    return lock;
}

// The percent-encoded name of a line, or empty when the line is malformed.
std::string encodedNameOf(const std::string& line) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos || second + 1 >= line.size()) {
        return {};
    }
    return line.substr(second + 1);
}

int writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno != EINTR) {
            return errno;
        }
        done += put > 0 ? static_cast<std::size_t>(put) : 0;
    }
    return 0;
}

}  // namespace

DirectorySizesCache::DirectorySizesCache(std::string trashFolder)
    : mTrashFolder(std::move(trashFolder)) {}

int DirectorySizesCache::record(const std::string& name, std::uint64_t size,
                                std::time_t infoModified) const {
    const std::lock_guard<std::mutex> guard(rewriteLock());
    const std::string cachePath = mTrashFolder + "/directorysizes";
    const std::string encoded = percentEncodePath(name);

    std::string text;
    std::ifstream existing(cachePath, std::ios::binary);
    for (std::string line; std::getline(existing, line);) {
        const std::string entry = encodedNameOf(line);
        struct stat info {};
        if (!entry.empty() && entry != encoded &&
            ::lstat((mTrashFolder + "/files/" + percentDecode(entry)).c_str(), &info) == 0) {
            text += line + "\n";
        }
    }
    text += std::to_string(size) + " " + std::to_string(infoModified) + " " + encoded + "\n";

    std::string temporary = cachePath + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return errno;
    }
    int error = writeAll(fd, text);
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), cachePath.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

}  // namespace korvex::platform
