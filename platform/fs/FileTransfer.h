#pragma once

#include "platform/fs/FileOpFailure.h"

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace korvex::platform {

// Chooses the name an item gets in the destination folder. Asked first with
// nothing taken, then again each time the name it gave was found taken at
// the moment the item was put in place (by anyone, at any time before),
// with every name found taken so far.
using NameChooser = std::function<std::string(const std::vector<std::string>& taken)>;

// The name the item got in the folder, or why it is not there.
using TransferResult = std::variant<std::string, FileOpFailure>;

// Moves `source` into `folder` under a name from `chooseName`. Within a file
// system this is one rename. Across file systems the whole item is copied
// under a hidden temporary name in `folder`, put on disk, and renamed to the
// chosen name; only then is the source removed. Nothing already in `folder`
// is ever replaced or removed, and no incomplete copy ever carries the
// chosen name: an interrupted move leaves the source whole.
TransferResult moveItemInto(const std::string& source, const std::string& folder,
                            const NameChooser& chooseName);

// Copies `source` into `folder` the same way, without the flush; the source
// is only read. A failed copy removes its own temporary item and nothing else.
TransferResult copyItemInto(const std::string& source, const std::string& folder,
                            const NameChooser& chooseName);

// What an unfinished copy is called while it is made: hidden, and the same
// prefix for every one, so that leftovers of a killed process can be told.
inline constexpr const char* kIncompleteCopyPrefix = ".korvex-incomplete-";

}  // namespace korvex::platform
