#include "platform/trash/TrashInfoFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korvex::platform {

std::string trashInfoText(const std::string& encodedPath, std::time_t deletedAt) {
    std::tm local{};
    ::localtime_r(&deletedAt, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=" + date + "\n";
}

TrashInfoReservation reserveTrashInfo(const std::string& path, const std::string& text) {
    return reserveTrashInfoAt(AT_FDCWD, path, text);
}

TrashInfoReservation reserveTrashInfoAt(int folderFd, const std::string& name,
                                        const std::string& text) {
    const int fd =
        ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return {errno, 0};
    }
    int error = 0;
    for (std::size_t done = 0; done < text.size() && error == 0;) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put >= 0) {
            done += static_cast<std::size_t>(put);
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    struct stat info {};
    if (error == 0 && ::fstat(fd, &info) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(folderFd, name.c_str(), 0);
        return {error, 0};
    }
    return {0, info.st_mtim.tv_sec};
}

std::string numberedTrashName(const std::string& name, bool isFolder, unsigned attempt) {
    if (attempt == 0) {
        return name;
    }
    const std::string number = " " + std::to_string(attempt);
    const std::size_t dot = name.rfind('.');
    // A leading dot marks a hidden name, not an extension.
    if (!isFolder && dot != std::string::npos && dot > 0) {
        return name.substr(0, dot) + number + name.substr(dot);
    }
    return name + number;
}

}  // namespace korvex::platform
