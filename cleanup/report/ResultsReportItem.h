#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

// One line of the results report.
struct ResultsReportItem {
    std::string_view path;
    std::string_view name;
    std::string_view ext;
    std::string_view type;
    std::int64_t size = 0;
    int depth = 0;
    std::string_view treeID;
    std::string_view parentID;

    // Path and name go inside double quotes exactly as they are (a spreadsheet
    // keeps separators and line breaks between the quotes); the other fields
    // are bare. Ends with "\n".
    void appendLine(std::string& out, std::string_view separator) const;
    static void appendHeader(std::string& out, std::string_view separator);
};

// The text after the last dot of a name; none for a name whose only dot
// leads it (".profile") or ends it.
std::string_view pathExtension(std::string_view name);

}  // namespace korvex
