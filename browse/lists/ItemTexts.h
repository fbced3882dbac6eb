#pragma once

#include "browse/contents/SelectionAvailability.h"

#include <QString>

namespace korvex {

// Node names may hold any bytes; invalid UTF-8 shows as replacement marks.
QString qtText(std::string_view text);
QString sizeText(std::int64_t bytes);
// The lock message of a node as rich text, its emphasised part in bold;
// empty when the node may be ticked.
QString lockMessageHtml(const FileSystemItem& item);

}  // namespace korvex
