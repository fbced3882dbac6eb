#pragma once

#include <optional>
#include <string>

namespace korvex {

class FileSystemItem;

// "Access denied" with the reason, for a node the scan could not read.
std::optional<std::string> accessDeniedText(const FileSystemItem& node);

// What a node's size alone does not tell, one line shown wherever the node's
// details are (the hint, the lists' tool tips, the summary): that it was
// denied and why, that it is one of several hard links counted once, or that
// it is the cache the purgeable space is made of.
std::optional<std::string> itemNote(const FileSystemItem& node);

// What removing the node will not do: a file with other names keeps its data
// until the last of them goes.
std::optional<std::string> removalNote(const FileSystemItem& node);

}  // namespace korvex
