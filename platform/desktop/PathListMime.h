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

// A drag or clipboard payload for paths: file URIs for other applications,
// the paths joined by "\n" as text, and the private list.
std::unique_ptr<QMimeData> mimeDataForPaths(const std::vector<std::string>& paths);

}  // namespace korvex::platform
