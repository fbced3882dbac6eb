#include "scan/tree/AbsolutePathItem.h"

namespace korvex {

AbsolutePathItem::AbsolutePathItem(InlineName name, std::string abspath, std::int64_t itemsize,
                                   bool dir)
    : FileSystemItem(name, nullptr, itemsize, 0, false, false),
      fullpath(std::move(abspath)),
      bDIR(dir) {
    setHiddenFlag(relativePath().starts_with('.'));
}

boost::intrusive_ptr<AbsolutePathItem> AbsolutePathItem::initWithPathSize(std::string_view name,
                                                                          std::string abspath,
                                                                          std::int64_t itemsize,
                                                                          bool dir) {
    return allocate<AbsolutePathItem>(name, std::move(abspath), itemsize, dir);
}

}  // namespace korvex
