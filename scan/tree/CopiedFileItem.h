#pragma once

#include "scan/tree/FileSystemItem.h"
#include "scan/tree/ItemRef.h"

#include <string>

namespace korvex {

// One item created by a copy or move: the source node and the name it has in
// the destination folder.
class CopiedFileItem {
  public:
    CopiedFileItem(ItemRef source, std::string name)
        : m_pSrcFileItem(std::move(source)), m_pName(std::move(name)) {}
    static CopiedFileItem initWithFileItem(ItemRef source, std::string name) {
        return CopiedFileItem(std::move(source), std::move(name));
    }

    const ItemRef& getSrcItem() const { return m_pSrcFileItem; }
    const std::string& getName() const { return m_pName; }

  private:
    ItemRef m_pSrcFileItem;
    std::string m_pName;
};

}  // namespace korvex
