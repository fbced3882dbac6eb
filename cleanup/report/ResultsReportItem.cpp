#include "cleanup/report/ResultsReportItem.h"

#include <charconv>

namespace korvex {

namespace {

void appendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    out.append(text);
    out.push_back('"');
}

}  // namespace

void ResultsReportItem::appendLine(std::string& out, std::string_view separator) const {
    appendQuoted(out, path);
    out.append(separator);
    appendQuoted(out, name);
    out.append(separator);
    out.append(ext);
    out.append(separator);
    out.append(type);
    out.append(separator);
    appendNumber(out, size);
    out.append(separator);
    appendNumber(out, depth);
    out.append(separator);
    out.append(treeID);
    out.append(separator);
    out.append(parentID);
    out.push_back('\n');
}

void ResultsReportItem::appendHeader(std::string& out, std::string_view separator) {
    const char* columns[] = {"Path", "Name",  "Extension", "Type",
                             "Size", "Depth", "TreeID",    "ParentID"};
    for (const char* column : columns) {
        if (column != columns[0]) {
            out.append(separator);
        }
        out.append(column);
    }
    out.push_back('\n');
}

std::string_view pathExtension(std::string_view name) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) {
        return {};
    }
    return name.substr(dot + 1);
}

}  // namespace korvex
