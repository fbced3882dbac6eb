#pragma once

#include <QStringList>

#include <string>
#include <vector>

namespace korvex {

// The folders a command line hands to the application: every argument after
// the program name that is not an option, with file:// URLs (as the desktop
// passes them for %U) turned into local paths. Other URL schemes are dropped.
std::vector<std::string> foldersFromArguments(const QStringList& arguments);

}  // namespace korvex
