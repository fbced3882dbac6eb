#pragma once

#include "scan/tree/ItemRef.h"

#include <QAbstractItemModel>
#include <QVariant>

#include <functional>

namespace korvex {

class FileSystemItem;

// What a row's check box asks for: put the node into the removal collection
// or take it out.
using CollectToggle = std::function<void(const ItemRef& node, bool collect)>;

// The check box of a node's row, the same in every list: ticked while the
// node or a folder above it is collected; it can be changed while the node
// may be collected, or to take a collected node out again.
QVariant collectCheckState(const FileSystemItem& item);
Qt::ItemFlags collectCheckFlags(const FileSystemItem& item, Qt::ItemFlags flags);
// Hands a check box change to `toggle`; false when it was not one.
bool applyCollectCheck(const CollectToggle& toggle, const ItemRef& node, const QVariant& value,
                       int role);

}  // namespace korvex
