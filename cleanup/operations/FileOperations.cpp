#include "cleanup/operations/FileOperations.h"

#include <sys/stat.h>

namespace korvex {

bool somethingExistsAt(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace korvex
