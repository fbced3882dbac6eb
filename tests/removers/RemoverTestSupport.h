#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include "cleanup/removers/RootFileRemoveItem.h"
#include "scan/tree/FileSystemItem.h"
#include "support/AsNobody.h"

#include <cerrno>
#include <memory>
#include <string>

namespace korvex::test {

// An operation item for `path` that the Trash refused with `error`.
inline OperationItemRef failedOperationItem(const std::string& path, int error = EACCES) {
    auto item = std::make_shared<OperationItem>(
        FileSystemItem::initWithPathSizeNoParent(path, nullptr, 1, 0, false, false));
    item->setState(OperationFailed{posixError(error)});
    return item;
}

inline RootFileRemoveItemRef failedRemoveItem(const std::string& path, int error = EACCES) {
    return std::make_shared<const RootFileRemoveItem>(
        *UnifiedRemoveErrorInfo::forItem(failedOperationItem(path, error)));
}

// A small file system mounted in the tree for one test.
class ScopedMount {
  public:
    explicit ScopedMount(const std::string& where) : mWhere(where) {
        mMounted = ::mount("korvex-test", where.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~ScopedMount() {
        if (mMounted) {
            ::umount(mWhere.c_str());
        }
    }
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    bool mounted() const { return mMounted; }
    void remountReadOnly() {
        ::mount(nullptr, mWhere.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
    }

  private:
    std::string mWhere;
    bool mMounted = false;
};

}  // namespace korvex::test
