#pragma once

#include "platform/fs/FileOpFailure.h"

#include <optional>
#include <string>

namespace korvex::platform {

// Both answer nothing on success. `target` is the full new path; it must not
// exist, and nothing already there is ever replaced.

// Renames within a file system; across file systems copies the whole item
// and removes the source only once the copy is complete and on disk. A failed
// copy is removed again and the source stays as it was.
std::optional<FileOpFailure> moveItem(const std::string& source, const std::string& target);

// Copies the whole item (see copyEntryTree); on failure, whatever part of the
// copy was made is removed. The source is never changed.
std::optional<FileOpFailure> copyItem(const std::string& source, const std::string& target);

// rename(2) that fails with EEXIST instead of replacing `to`; answers 0 or
// the error number.
int renameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace korvex::platform
