#include "scan/tree/SpecialSystemItem.h"

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

SpecialSystemItem::SpecialSystemItem(InlineName name, Type kind, FolderSystemItem* parent,
                                     std::string description, std::int64_t bytes)
    : FileSystemItem(name, parent, bytes, 0, false, false),
      itemDescription(std::move(description)),
      type(kind),
      size(bytes) {}

boost::intrusive_ptr<SpecialSystemItem> SpecialSystemItem::initWithType(Type type,
                                                                        FolderSystemItem* parent,
                                                                        std::string description,
                                                                        std::int64_t size) {
    auto item = allocate<SpecialSystemItem>("", type, parent, std::move(description), size);
    attach(parent, item);
    return item;
}

std::int64_t SpecialSystemItem::gettotalsize() const {
    return type == Inaccessible ? FileSystemItem::gettotalsize() : size;
}

ItemRef SpecialSystemItem::addDuplicateToParent(FolderSystemItem* parent) const {
    return initWithType(type, parent, itemDescription, size);
}

}  // namespace korvex
