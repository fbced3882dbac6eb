#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace korvex::platform {

// The "directorysizes" file of one trash folder, which lets a trash's size be
// shown without walking every trashed folder: one line per trashed folder,
// "SIZE MTIME NAME" with the allocated bytes, the modification time of the
// folder's info file and its percent-encoded name in files/.
class DirectorySizesCache {
  public:
    explicit DirectorySizesCache(std::string trashFolder);

    // Rewrites the file with the line for `name` added, lines of entries gone
    // from files/ dropped, through a temporary file renamed over the old one
    // so that readers never see half a file. Answers 0 or the error number.
    int record(const std::string& name, std::uint64_t size, std::time_t infoModified) const;

  private:
    std::string mTrashFolder;
};

}  // namespace korvex::platform
