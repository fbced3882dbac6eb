#include "browse/contents/CaseFolding.h"

#include <unicode/ucasemap.h>

#include <algorithm>
#include <memory>

namespace korvex {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiFolded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct CaseMapCloser {
    void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

// One per thread: the search folds names on several threads at once.
UCaseMap* foldingMap() {
    thread_local const std::unique_ptr<UCaseMap, CaseMapCloser> map([] {
        UErrorCode status = U_ZERO_ERROR;
        UCaseMap* made = ucasemap_open("", U_FOLD_CASE_DEFAULT, &status);
        return U_SUCCESS(status) ? made : nullptr;
    }());
    return map.get();
}

}  // namespace

std::string caseFolded(std::string_view name) {
    std::string folded(name);
    if (isAscii(name)) {
        std::transform(folded.begin(), folded.end(), folded.begin(), asciiFolded);
        return folded;
    }
    UCaseMap* map = foldingMap();
    if (map == nullptr || name.size() > static_cast<std::size_t>(INT32_MAX / 3)) {
        return folded;
    }
    const auto length = static_cast<int32_t>(name.size());
    // Folding grows a UTF-8 text by at most three times.
    folded.resize(name.size() * 3 + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucasemap_utf8FoldCase(
        map, folded.data(), static_cast<int32_t>(folded.size()), name.data(), length, &status);
    if (U_FAILURE(status) || written < 0) {
        return std::string(name);
    }
    folded.resize(static_cast<std::size_t>(written));
    return folded;
}

bool nameContainsFolded(std::string_view name, std::string_view foldedQuery) {
    if (isAscii(name)) {
        if (name.size() < foldedQuery.size()) {
            return false;
        }
        return std::search(name.begin(), name.end(), foldedQuery.begin(), foldedQuery.end(),
                           [](char fromName, char fromQuery) {
                               return asciiFolded(fromName) == fromQuery;
                           }) != name.end();
    }
    return caseFolded(name).find(foldedQuery) != std::string::npos;
}

}  // namespace korvex
