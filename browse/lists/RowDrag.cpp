#include "browse/lists/RowDrag.h"

#include "platform/desktop/PathListMime.h"
#include "scan/tree/FileSystemItem.h"

#include <QMimeData>

#include <algorithm>
#include <utility>

namespace korvex {

QStringList rowDragMimeTypes() {
    return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain"),
            QString::fromLatin1(platform::kKorvexDataMime)};
}

Qt::DropActions rowDragActions() {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

QMimeData* rowDragMimeData(const ItemList& nodes) {
    std::vector<std::string> paths;
    for (const ItemRef& node : nodes) {
        if (node) {
            std::string path = node->getFullPath();
            if (!path.empty())
                paths.push_back(std::move(path));
        }
    }
    return paths.empty() ? nullptr : platform::mimeDataForPaths(paths).release();
}

QModelIndexList distinctRowsInOrder(const QModelIndexList& indexes) {
    // (row of the top-level row, row below it + 1, or 0 for the top-level row itself)
    auto place = [](const QModelIndex& index) {
        const QModelIndex parent = index.parent();
        return parent.isValid() ? std::pair(parent.row(), index.row() + 1)
                                : std::pair(index.row(), 0);
    };
    QModelIndexList rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            rows.append(index.siblingAtColumn(0));
    std::sort(rows.begin(), rows.end(),
              [&](const QModelIndex& a, const QModelIndex& b) { return place(a) < place(b); });
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace korvex
