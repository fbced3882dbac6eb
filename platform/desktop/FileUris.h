#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace korvex::platform {

// File URIs for local paths given as raw bytes. Names that are valid UTF-8
// take the usual encoded form; any other byte sequence is percent-encoded
// byte for byte, so the receiver gets back exactly the name on disk (a QUrl
// cannot hold such a name: it turns the bytes into replacement characters).
QString fileUriForPath(const std::string& path);
QStringList fileUrisForPaths(const std::vector<std::string>& paths);

bool isUtf8Path(const std::string& path);

// The folder that holds `path` ("/" for "/" itself).
std::string parentFolderOf(const std::string& path);

}  // namespace korvex::platform
