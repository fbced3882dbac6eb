#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <string>
#include <vector>

namespace korvex::platform {

// File URLs for local paths given as raw bytes. Names that are valid UTF-8
// take the usual encoded form; any other byte sequence is percent-encoded
// byte for byte, so the receiver gets back exactly the name on disk.
QUrl fileUrlForPath(const std::string& path);
QString fileUriForPath(const std::string& path);
QStringList fileUrisForPaths(const std::vector<std::string>& paths);

// The folder that holds `path` ("/" for "/" itself).
std::string parentFolderOf(const std::string& path);

}  // namespace korvex::platform
