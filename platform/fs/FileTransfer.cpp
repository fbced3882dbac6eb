#include "platform/fs/FileTransfer.h"

#include "platform/UniqueFd.h"
#include "platform/fs/CopyEntryTree.h"
#include "platform/fs/NoReplaceRename.h"
#include "platform/fs/RemoveItemTree.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

namespace korvex::platform {

namespace {

// Names a chooser may give before the transfer stops asking.
constexpr unsigned kNameAttempts = 10000;
constexpr unsigned kTemporaryAttempts = 100;

// The destination folder, open: every name in it is made relative to this
// handle, so a folder swapped for another on the way changes nothing.
struct Destination {
    UniqueFd fd;
    std::string path;

    std::string shown(const std::string& name) const {
        return path == "/" ? "/" + name : path + "/" + name;
    }
};

std::string canonicalOrEmpty(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// A folder put below itself would never stop growing.
bool folderIsInside(const std::string& folder, const std::string& into) {
    const std::string from = canonicalOrEmpty(folder);
    const std::string to = canonicalOrEmpty(into);
    if (from.empty() || to.empty()) {
        return false;
    }
    return to == from || (to.size() > from.size() && to.compare(0, from.size(), from) == 0 &&
                          (from == "/" || to[from.size()] == '/'));
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Opens the folder and refuses what cannot work before anything is made.
std::variant<Destination, FileOpFailure> prepare(const std::string& source,
                                                 const std::string& folder, const char* verb) {
    const std::string what = std::string("Could not ") + verb + " " + quotedPath(source);
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) {
        return systemFailure(errno, what);
    }
    Destination destination{UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
                            folder};
    if (!destination.fd.valid()) {
        return systemFailure(errno, what + " to " + quotedPath(folder));
    }
    if (S_ISDIR(info.st_mode) && folderIsInside(source, folder)) {
        return systemFailure(EINVAL, std::string("Could not ") + verb + " the folder " +
                                         quotedPath(source) + " into itself");
    }
    return destination;
}

// Renames the entry to a name the chooser gives, asking again while the
// names it gives are taken. A failure other than a taken name ends it.
TransferResult renameToChosenName(int fromFd, const std::string& from, const Destination& into,
                                  const NameChooser& chooseName, const std::string& what) {
    std::vector<std::string> taken;
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = chooseName(taken);
        if (!isPlainName(name)) {
            return systemFailure(EINVAL, what + ": the name " + quotedPath(name) + " is not valid");
        }
        const int error = renameAtWithoutReplacing(fromFd, from, into.fd.get(), name);
        if (error == 0) {
            return name;
        }
        if (error != EEXIST && error != ENOTEMPTY) {
            return systemFailure(error, what + " to " + quotedPath(into.shown(name)));
        }
        taken.push_back(std::move(name));
    }
    return systemFailure(EEXIST, what + ": no free name in " + quotedPath(into.path));
}

std::string temporaryName() {
    unsigned char bytes[8] = {};
    for (std::size_t got = 0; got < sizeof bytes;) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        }
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = kIncompleteCopyPrefix;
    for (unsigned char byte : bytes) {
        name += kHex[byte >> 4];
        name += kHex[byte & 0x0f];
    }
    return name;
}

// A complete copy under a temporary name of its own in the folder.
struct TemporaryCopy {
    std::string name;
    EntryId id;
};

// Removes the temporary copy, if what has its name is still the entry this
// transfer made; anything else there is left alone.
void discard(const Destination& into, const TemporaryCopy& copy) {
    struct stat now {};
    if (::fstatat(into.fd.get(), copy.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        EntryId{now.st_dev, now.st_ino} == copy.id) {
        removeItemTreeAt(into.fd.get(), copy.name, into.shown(copy.name));
    }
}

std::variant<TemporaryCopy, FileOpFailure> copyToTemporary(const std::string& source,
                                                           const Destination& into,
                                                           CopyOptions options) {
    for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        TemporaryCopy copy{temporaryName(), {}};
        CopyOutcome outcome =
            copyEntryTree(source, into.fd.get(), copy.name, into.shown(copy.name), options);
        if (!outcome.created && outcome.failure && outcome.failure->errnoValue == EEXIST) {
            continue;  // someone else's entry of that name: another one
        }
        copy.id = outcome.created.value_or(EntryId{});
        if (outcome.failure) {
            if (outcome.created) {
                discard(into, copy);
            }
            return *outcome.failure;
        }
        return copy;
    }
    return systemFailure(EEXIST, "Could not make a temporary copy in " + quotedPath(into.path));
}

// Copies under a temporary name, then gives the copy its chosen name.
TransferResult copyAndPlace(const std::string& source, const Destination& into,
                            const NameChooser& chooseName, CopyOptions options,
                            const std::string& what) {
    auto made = copyToTemporary(source, into, options);
    if (auto* failed = std::get_if<FileOpFailure>(&made)) {
        return *failed;
    }
    const TemporaryCopy& copy = std::get<TemporaryCopy>(made);
    TransferResult placed = renameToChosenName(into.fd.get(), copy.name, into, chooseName, what);
    if (std::holds_alternative<FileOpFailure>(placed)) {
        discard(into, copy);
        return placed;
    }
    if (options.flush && ::fsync(into.fd.get()) != 0) {
        // The copy is complete under its name; only its entry may not last a
        // crash yet, so the caller keeps the source and says why.
        return systemFailure(errno, what + ": " + quotedPath(into.path) + " could not be written");
    }
    return placed;
}

}  // namespace

TransferResult moveItemInto(const std::string& source, const std::string& folder,
                            const NameChooser& chooseName) {
    auto prepared = prepare(source, folder, "move");
    if (auto* refused = std::get_if<FileOpFailure>(&prepared)) {
        return *refused;
    }
    const Destination& into = std::get<Destination>(prepared);
    const std::string what = "Could not move " + quotedPath(source);
    TransferResult renamed = renameToChosenName(AT_FDCWD, source, into, chooseName, what);
    const auto* failed = std::get_if<FileOpFailure>(&renamed);
    if (failed == nullptr || failed->errnoValue != EXDEV) {
        return renamed;
    }
    TransferResult placed = copyAndPlace(source, into, chooseName, {.flush = true}, what);
    const auto* name = std::get_if<std::string>(&placed);
    if (name == nullptr) {
        return placed;
    }
    if (auto kept = removeItemTree(source)) {
        // The complete copy stays: it may now be the only whole instance.
        return FileOpFailure{kept->errnoValue,
                             "Copied to " + quotedPath(into.shown(*name)) +
                                 " but could not remove the original: " + kept->message};
    }
    return placed;
}

TransferResult copyItemInto(const std::string& source, const std::string& folder,
                            const NameChooser& chooseName) {
    auto prepared = prepare(source, folder, "copy");
    if (auto* refused = std::get_if<FileOpFailure>(&prepared)) {
        return *refused;
    }
    return copyAndPlace(source, std::get<Destination>(prepared), chooseName, {},
                        "Could not copy " + quotedPath(source));
}

}  // namespace korvex::platform
