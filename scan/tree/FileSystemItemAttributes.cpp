#include "scan/tree/FileSystemItemAttributes.h"

#include "platform/fs/FileDates.h"

namespace korvex {

FileSystemItemAttributes FileSystemItemAttributes::initWithPath(const std::string& path) {
    platform::FileDates dates = platform::readFileDates(path);
    return {dates.modification, dates.creation, dates.access};
}

}  // namespace korvex
