#include "platform/fs/AtomicFileWrite.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace korvex::platform {

namespace {

std::string errorText(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content) {
    std::string temp = path + ".XXXXXX";
    int raw = ::mkstemp(temp.data());
    if (raw < 0) {
        return errorText(path);
    }
    UniqueFd fd(raw);
    // mkstemp makes the file private; the result is an ordinary document.
    ::fchmod(fd.get(), 0644);
    if (!writeAll(fd.get(), content) || ::fsync(fd.get()) != 0) {
        std::string error = errorText(path);
        ::unlink(temp.c_str());
        return error;
    }
    int closeError = fd.close();
    if (closeError != 0) {
        errno = closeError;
    }
    if (closeError != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        std::string error = errorText(path);
        ::unlink(temp.c_str());
        return error;
    }
    return std::nullopt;
}

}  // namespace korvex::platform
