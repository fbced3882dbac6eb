#include "cleanup/elevated/BashTaskResult.h"

#include "cleanup/elevated/BashScript.h"

#include <charconv>

namespace korvex {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The error number of an opening line, or nothing for any other line.
std::optional<long> openingLineCode(std::string_view line) {
    const std::string_view marker = kScriptErrorMarker;
    if (line.substr(0, marker.size() + 1) != std::string(marker) + ";") {
        return std::nullopt;
    }
    line.remove_prefix(marker.size() + 1);
    const std::size_t separator = line.find(';');
    if (separator == std::string_view::npos || line.substr(0, separator) != "1") {
        return std::nullopt;
    }
    const std::string_view number = line.substr(separator + 1);
    if (number.find(';') != std::string_view::npos) {
        return std::nullopt;
    }
    long code = 0;
    const auto [end, problem] = std::from_chars(number.data(), number.data() + number.size(), code);
    if (problem != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return code;
}

}  // namespace

std::vector<BashTaskError> errorsInScriptOutput(std::string_view output) {
    std::vector<BashTaskError> errors;
    const std::vector<std::string_view> lines = splitLines(output);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<long> code = openingLineCode(lines[i]);
        if (!code) {
            continue;
        }
        std::string message;
        const std::size_t first = i + 1;
        for (++i; i < lines.size() && lines[i] != kScriptErrorEndMarker; ++i) {
            if (i != first) {
                message += '\n';
            }
            message += lines[i];
        }
        errors.push_back({kBashTaskErrorDomain, *code, message});
    }
    return errors;
}

}  // namespace korvex
