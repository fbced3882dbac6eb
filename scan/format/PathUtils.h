#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// Components as the lookups count them: a leading "/" is a component of its
// own and repeated separators collapse ("/a//b" gives "/", "a", "b").
std::vector<std::string_view> pathComponents(std::string_view path);
std::string joinPathComponent(std::string_view base, std::string_view component);

// The home folder prefix (as a string prefix) replaced by "~".
std::string pathWithReplasingHomeFolderUsingTilda(const std::string& path);
std::string pathWithReplasingHomeFolderUsingTilda(const std::string& path, const std::string& home);
// The path lies below `folder`: a longer string starting with it followed by "/".
bool isInFolder(std::string_view path, std::string_view folder);

namespace Utilmod {
// `folder` is a folder-parent of `file`: a string prefix with more components,
// whose component at the folder's last index is the same. Missing component
// lists are computed.
bool isFolderParent(std::string_view folder, const std::vector<std::string_view>* folderComps,
                    std::string_view file, const std::vector<std::string_view>* fileComps);
// A name free in `folder` and not among `newCopiedFiles` (full paths):
// "report.txt", then "report 2.txt", "report 3.txt", …
std::string getNameForCopiedFile(const std::string& name, const std::string& folder,
                                 const std::vector<std::string>& newCopiedFiles);
std::string getNameForCopiedFile(const std::string& name, const std::string& folder);
}  // namespace Utilmod

}  // namespace korvex
