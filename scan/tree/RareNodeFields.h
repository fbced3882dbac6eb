#pragma once

#include "scan/tree/FileSystemItemAttributes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

class FileSystemItem;

// What only a few nodes need, kept beside the tree instead of in every node:
// a name set after construction or too long for the node arena, a size that
// does not fit the node's 32 bits, a folder's dates once asked for. Each node
// says in its own bits which of these it has, and forgets them when it goes.
// Any thread may use the tables; each entry is written by one thread at a
// time, like the node itself.
namespace rareNodeFields {

void setName(const FileSystemItem* node, std::string_view name);
std::string_view name(const FileSystemItem* node);
void forgetName(const FileSystemItem* node);

void setSize(const FileSystemItem* node, std::int64_t bytes);
std::int64_t size(const FileSystemItem* node);
void forgetSize(const FileSystemItem* node);

// Made on first use; the reference stays valid until forgetAttributes.
FileSystemItemAttributes& attributes(const FileSystemItem* node, const std::string& path);
void forgetAttributes(const FileSystemItem* node);

// Entries of all three tables, for tests.
std::size_t entries();

}  // namespace rareNodeFields

}  // namespace korvex
