#include "browse/lists/CollectCheck.h"

#include "browse/contents/SelectionAvailability.h"
#include "scan/tree/FileSystemItem.h"

namespace korvex {

QVariant collectCheckState(const FileSystemItem& item) {
    return item.isTopCollected() ? Qt::Checked : Qt::Unchecked;
}

Qt::ItemFlags collectCheckFlags(const FileSystemItem& item, Qt::ItemFlags flags) {
    if (item.isCollected() || (!item.isTopCollected() && isItemSelectable(item)))
        return flags | Qt::ItemIsUserCheckable;
    return flags;
}

bool applyCollectCheck(const CollectToggle& toggle, const ItemRef& node, const QVariant& value,
                       int role) {
    if (role != Qt::CheckStateRole || !toggle || !node)
        return false;
    toggle(node, value.toInt() == Qt::Checked);
    return true;
}

}  // namespace korvex
