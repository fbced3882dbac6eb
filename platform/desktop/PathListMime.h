#pragma once

#include <QByteArray>
#include <QMimeData>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::platform {

// Paths dragged from the diagram and the lists to the removal collection.
inline constexpr const char* kKorvexDataMime = "com.halvorn.korvex.data";

// The private drag payload: a list of raw byte paths, so names that are not
// UTF-8 arrive exactly as they are on disk.
QByteArray encodePathList(const std::vector<std::string>& paths);
// Nothing when the data is empty or not such a list.
std::optional<std::vector<std::string>> decodePathList(const QByteArray& data);

// A path as text a user can paste anywhere: the path itself when it is UTF-8
// without control characters, else a shell word ($'...') that names the
// exact bytes on disk, with valid characters kept and the rest as \xHH.
std::string pathAsPastableText(const std::string& path);

// A drag or clipboard payload for paths: file URIs (text/uri-list) carrying
// the exact bytes for other applications, the pastable texts joined by "\n",
// and the private list.
std::unique_ptr<QMimeData> mimeDataForPaths(const std::vector<std::string>& paths);

}  // namespace korvex::platform
