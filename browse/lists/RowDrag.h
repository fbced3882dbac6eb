#pragma once

#include "scan/tree/ItemRef.h"

#include <QModelIndexList>
#include <QStringList>

class QMimeData;

namespace korvex {

// What a dragged list row carries: file URIs for other applications, the
// paths as text, and the private list the collection's drop area reads.
QStringList rowDragMimeTypes();
// A file manager may copy, move or link what it receives.
Qt::DropActions rowDragActions();
// The payload of `nodes`; none when no node has a path.
QMimeData* rowDragMimeData(const ItemList& nodes);
// The indexes' rows once each, top to bottom: a selection names every
// column of a row, and children of a group follow the group.
QModelIndexList distinctRowsInOrder(const QModelIndexList& indexes);

}  // namespace korvex
