#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace korvex {

// What the built-in preview shows for one path, read from disk once.
struct PreviewContent {
    enum class Kind { Image, Text, Folder, Other, Missing };

    Kind kind = Kind::Missing;
    std::string path;
    QString name;
    QString folder;
    QString kindName;  // "PNG image", "Folder", ...
    QString mimeType;
    std::optional<std::int64_t> size;
    std::optional<int> folderItemCount;
    QDateTime modified;

    QImage image;           // Image: scaled to fit the requested bounds
    QSize imageSourceSize;  // Image: size on disk
    QString text;           // Text: the beginning of the file
    bool textTruncated = false;
};

inline constexpr qint64 kPreviewTextLimit = 384 * 1024;

// Reads `path` for preview. Images larger than `bounds` are decoded at the
// reduced size (cheap for large files); text is read up to the limit and
// decoded leniently; files that look binary are described, never dumped.
PreviewContent loadPreviewContent(const std::string& path, QSize bounds);

// Whether the first bytes of a file look like text rather than binary data.
bool looksLikeText(const QByteArray& head);

}  // namespace korvex
