#include "platform/fs/CopyEntryTree.h"

#include "platform/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace korvex::platform {

namespace {

// Where an entry is, relative to an open folder, and how messages name it.
struct Place {
    int folderFd;
    const char* name;
    const std::string& shown;
};

// What every level of the copy shares: the options, and where the top
// entry's identity goes once it is made (children leave it alone).
struct Copying {
    CopyOptions options;
    std::optional<EntryId>* created;
};

void noteCreated(const Copying& copying, const struct stat& made) {
    if (copying.created != nullptr) {
        *copying.created = EntryId{made.st_dev, made.st_ino};
    }
}

// The identity of an entry just made by name (folders, links, special files).
void noteCreatedAt(const Copying& copying, const Place& to) {
    struct stat made {};
    if (copying.created != nullptr &&
        ::fstatat(to.folderFd, to.name, &made, AT_SYMLINK_NOFOLLOW) == 0) {
        noteCreated(copying, made);
    }
}

int flushed(const Copying& copying, int fd) {
    if (!copying.options.flush) {
        return 0;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

std::optional<FileOpFailure> failure(int error, const char* doing, const std::string& shown) {
    return systemFailure(error, std::string(doing) + " " + quotedPath(shown));
}

// Ownership is kept only where the system lets this process give it away.
void keepOwner(const Place& to, const struct stat& info) {
    ::fchownat(to.folderFd, to.name, info.st_uid, info.st_gid, AT_SYMLINK_NOFOLLOW);
}

std::optional<FileOpFailure> keepTimes(const Place& to, const struct stat& info,
                                       const std::string& shown) {
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::utimensat(to.folderFd, to.name, times, AT_SYMLINK_NOFOLLOW) != 0) {
        return failure(errno, "Could not set the dates of", shown);
    }
    return std::nullopt;
}

// Ownership before mode: a change of owner clears set-id bits.
std::optional<FileOpFailure> keepAttributes(const Place& to, const struct stat& info,
                                            const std::string& shown) {
    keepOwner(to, info);
    if (::fchmodat(to.folderFd, to.name, info.st_mode & 07777, 0) != 0) {
        return failure(errno, "Could not set the permissions of", shown);
    }
    return keepTimes(to, info, shown);
}

int copyByReadWrite(int in, int out) {
    std::vector<char> buffer(1 << 17);
    while (true) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0) {
            return 0;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            done += put;
        }
    }
}

// copy_file_range lets the kernel (or the file system, by reflink) move the
// bytes; where it cannot between these two files the bytes go through memory.
int copyBytes(int in, int out) {
    bool copiedAny = false;
    while (true) {
        const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (moved == 0) {
            return 0;
        }
        if (moved > 0) {
            copiedAny = true;
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        const bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                                 errno == EOPNOTSUPP || errno == EPERM;
        if (!unsupported || copiedAny) {
            return errno;
        }
        return copyByReadWrite(in, out);
    }
}

std::optional<FileOpFailure> copyAt(const Place& from, const Place& to, const Copying& copying);

std::optional<FileOpFailure> copyRegular(const Place& from, const Place& to,
                                         const struct stat& info, const Copying& copying) {
    UniqueFd in(::openat(from.folderFd, from.name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid()) {
        return failure(errno, "Could not read", from.shown);
    }
    UniqueFd out(::openat(to.folderFd, to.name,
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!out.valid()) {
        return failure(errno, "Could not create", to.shown);
    }
    struct stat made {};
    if (::fstat(out.get(), &made) == 0) {
        noteCreated(copying, made);
    }
    if (int error = copyBytes(in.get(), out.get()); error != 0) {
        return failure(error, "Could not copy", from.shown);
    }
    if (int error = flushed(copying, out.get()); error != 0) {
        return failure(error, "Could not write", to.shown);
    }
    if (int error = out.close(); error != 0) {
        return failure(error, "Could not copy", from.shown);
    }
    return keepAttributes(to, info, to.shown);
}

std::optional<FileOpFailure> copyFolder(const Place& from, const Place& to, const struct stat& info,
                                        const Copying& copying) {
    UniqueFd in(
        ::openat(from.folderFd, from.name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid()) {
        return failure(errno, "Could not read the folder", from.shown);
    }
    // Private until its contents are in; the real mode is set last.
    if (::mkdirat(to.folderFd, to.name, S_IRWXU) != 0) {
        return failure(errno, "Could not create", to.shown);
    }
    noteCreatedAt(copying, to);
    UniqueFd out(::openat(to.folderFd, to.name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!out.valid()) {
        return failure(errno, "Could not open", to.shown);
    }
    const int listFd = ::dup(in.get());
    DIR* listing = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (listing == nullptr) {
        const int error = errno;
        if (listFd >= 0) {
            ::close(listFd);
        }
        return failure(error, "Could not read the folder", from.shown);
    }
    std::vector<std::string> names;
    errno = 0;
    while (dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    const int listError = errno;
    ::closedir(listing);
    if (listError != 0) {
        return failure(listError, "Could not read the folder", from.shown);
    }
    const Copying below{copying.options, nullptr};
    for (const std::string& name : names) {
        const std::string fromShown = from.shown + "/" + name;
        const std::string toShown = to.shown + "/" + name;
        if (auto error = copyAt({in.get(), name.c_str(), fromShown},
                                {out.get(), name.c_str(), toShown}, below)) {
            return error;
        }
    }
    // Times last: adding the entries changed the folder's own.
    if (auto error = keepAttributes(to, info, to.shown)) {
        return error;
    }
    // The folder's entries, links and special files among them, are on disk.
    if (int error = flushed(copying, out.get()); error != 0) {
        return failure(error, "Could not write", to.shown);
    }
    return std::nullopt;
}

std::optional<FileOpFailure> copyLink(const Place& from, const Place& to, const struct stat& info,
                                      const Copying& copying) {
    // Some file systems report a link size of 0; grow until the text fits.
    std::vector<char> text(static_cast<std::size_t>(info.st_size) + 1 > 256
                               ? static_cast<std::size_t>(info.st_size) + 1
                               : 256);
    while (true) {
        const ssize_t length = ::readlinkat(from.folderFd, from.name, text.data(), text.size());
        if (length < 0) {
            return failure(errno, "Could not read the link", from.shown);
        }
        if (static_cast<std::size_t>(length) < text.size()) {
            text[static_cast<std::size_t>(length)] = '\0';
            break;
        }
        text.resize(text.size() * 2);
    }
    if (::symlinkat(text.data(), to.folderFd, to.name) != 0) {
        return failure(errno, "Could not create", to.shown);
    }
    noteCreatedAt(copying, to);
    keepOwner(to, info);
    return keepTimes(to, info, to.shown);
}

std::optional<FileOpFailure> copySpecial(const Place& from, const Place& to,
                                         const struct stat& info, const Copying& copying) {
    if (::mknodat(to.folderFd, to.name, info.st_mode & (S_IFMT | S_IRWXU), info.st_rdev) != 0) {
        return failure(errno, "Could not recreate the special file", from.shown);
    }
    noteCreatedAt(copying, to);
    return keepAttributes(to, info, to.shown);
}

std::optional<FileOpFailure> copyAt(const Place& from, const Place& to, const Copying& copying) {
    struct stat info {};
    if (::fstatat(from.folderFd, from.name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return failure(errno, "Could not read", from.shown);
    }
    if (S_ISREG(info.st_mode)) {
        return copyRegular(from, to, info, copying);
    }
    if (S_ISDIR(info.st_mode)) {
        return copyFolder(from, to, info, copying);
    }
    if (S_ISLNK(info.st_mode)) {
        return copyLink(from, to, info, copying);
    }
    return copySpecial(from, to, info, copying);
}

}  // namespace

CopyOutcome copyEntryTree(const std::string& source, int folderFd, const std::string& name,
                          const std::string& shown, CopyOptions options) {
    CopyOutcome outcome;
    outcome.failure = copyAt({AT_FDCWD, source.c_str(), source}, {folderFd, name.c_str(), shown},
                             {options, &outcome.created});
    return outcome;
}

}  // namespace korvex::platform
