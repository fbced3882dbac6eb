#include "platform/fs/FileDates.h"

#include "platform/fs/PathNames.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace korvex::platform {

namespace {

FileDates::Date toDate(const struct statx_timestamp& stamp) {
    return FileDates::Date(std::chrono::duration_cast<FileDates::Date::duration>(
        std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
}

}  // namespace

FileDates readFileDates(const std::string& path) {
    FileDates dates;
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_MTIME | STATX_ATIME | STATX_BTIME, &info) != 0) {
        return dates;
    }
    if ((info.stx_mask & STATX_MTIME) != 0) {
        dates.modification = toDate(info.stx_mtime);
    }
    if ((info.stx_mask & STATX_ATIME) != 0) {
        dates.access = toDate(info.stx_atime);
    }
    if ((info.stx_mask & STATX_BTIME) != 0) {
        dates.creation = toDate(info.stx_btime);
    }
    return dates;
}

std::string displayNameAtPath(const std::string& path) {
    return std::string(lastPathComponent(path));
}

}  // namespace korvex::platform
