#include "support/TempTree.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace korvex::test {

TempTree::TempTree() {
    std::string templ = (fs::temp_directory_path() / "korvex-test-XXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    mRoot = buf.data();
}

TempTree::~TempTree() {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             mRoot, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    // A second pass catches folders that were unreadable during the first.
    for (int pass = 0; pass < 2; ++pass) {
        fs::permissions(mRoot, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(mRoot, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_symlink(ec)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
            }
        }
    }
    fs::remove_all(mRoot, ec);
}

std::string TempTree::path(std::string_view relative) const {
    if (relative.empty()) {
        return mRoot.string();
    }
    return (mRoot / relative).string();
}

std::string TempTree::folder(std::string_view relative) const {
    fs::path p = mRoot / relative;
    fs::create_directories(p);
    return p.string();
}

std::string TempTree::file(std::string_view relative, std::uint64_t bytes) const {
    fs::path p = mRoot / relative;
    fs::create_directories(p.parent_path());
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        throw std::runtime_error("cannot create " + p.string());
    }
    std::vector<char> chunk(64 * 1024, 'k');
    std::uint64_t left = bytes;
    while (left > 0) {
        std::size_t n = left < chunk.size() ? static_cast<std::size_t>(left) : chunk.size();
        ssize_t w = ::write(fd, chunk.data(), n);
        if (w <= 0) {
            ::close(fd);
            throw std::runtime_error("cannot write " + p.string());
        }
        left -= static_cast<std::uint64_t>(w);
    }
    ::close(fd);
    return p.string();
}

}  // namespace korvex::test
