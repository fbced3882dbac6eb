#pragma once

#include "scan/tree/FileSystemItem.h"

namespace korvex {

// A parentless node carrying its own absolute path, for flat file lists.
class AbsolutePathItem : public FileSystemItem {
  public:
    static boost::intrusive_ptr<AbsolutePathItem> initWithPathSize(std::string_view name,
                                                                   std::string abspath,
                                                                   std::int64_t itemsize, bool dir);

    std::string getFullPath() const override { return fullpath; }
    bool isDir() const override { return bDIR; }

  protected:
    friend class FileSystemItem;
    AbsolutePathItem(InlineName name, std::string abspath, std::int64_t itemsize, bool dir);

  private:
    std::string fullpath;
    bool bDIR;
};

}  // namespace korvex
