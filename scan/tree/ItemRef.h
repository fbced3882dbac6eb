#pragma once

#include <boost/smart_ptr/intrusive_ptr.hpp>

#include <vector>

namespace korvex {

class FileSystemItem;
class FolderSystemItem;
class VolumeSystemItem;

// Tree nodes are shared by the tree, the lists and the collection; the count
// lives inside the node (FileSystemItem) so that a reference costs one pointer.
using ItemRef = boost::intrusive_ptr<FileSystemItem>;
using FolderRef = boost::intrusive_ptr<FolderSystemItem>;
using VolumeRef = boost::intrusive_ptr<VolumeSystemItem>;
using ItemList = std::vector<ItemRef>;

// The biggest-files lists never hold more than this many entries.
inline constexpr std::size_t kBiggestFilesBound = 100;

}  // namespace korvex
