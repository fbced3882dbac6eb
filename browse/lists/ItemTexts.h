#pragma once

#include "browse/contents/SelectionAvailability.h"

#include <QString>

namespace korvex {

// Node names may hold any bytes; invalid UTF-8 shows as replacement marks.
QString qtText(std::string_view text);
QString sizeText(std::int64_t bytes);
// What the lists tell about a node besides its name and size, as rich text:
// its note (denied, hard link, purgeable cache) and its lock message, the
// lock's emphasised part in bold; empty when there is nothing to tell.
QString detailsHtml(const FileSystemItem& item);

}  // namespace korvex
