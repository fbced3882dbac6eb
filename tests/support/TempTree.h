#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvex::test {

// A real folder under the system temporary directory, removed with everything
// below it when the object goes away (permissions are restored first so that
// chmod-000 folders made by a test do not survive it).
class TempTree {
  public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& root() const { return mRoot; }
    std::string path(std::string_view relative = {}) const;

    // Creates the folders leading to `relative` and a file of `bytes` bytes
    // written with real data (so that it takes allocated blocks).
    std::string file(std::string_view relative, std::uint64_t bytes = 0) const;
    std::string folder(std::string_view relative) const;

  private:
    std::filesystem::path mRoot;
};

}  // namespace korvex::test
