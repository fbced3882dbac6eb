#include "browse/search/NameSearch.h"

#include "browse/contents/CaseFolding.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace korvex {

namespace {

struct LevelPart {
    ItemList hits;
    std::vector<const FolderSystemItem*> nextLevel;
};

void searchFolders(const std::vector<const FolderSystemItem*>& folders, std::size_t begin,
                   std::size_t end, std::string_view foldedQuery, LevelPart& part) {
    for (std::size_t i = begin; i < end; ++i) {
        for (const ItemRef& child : folders[i]->childrenArray()) {
            if (nameContainsFolded(child->name(), foldedQuery)) {
                part.hits.push_back(child);
            }
            if (child->isDirectory()) {
                part.nextLevel.push_back(static_cast<const FolderSystemItem*>(child.get()));
            }
        }
    }
}

// Splits the level into parts of about equal numbers of children; a level
// too small to be worth a thread is searched on the calling thread.
std::vector<LevelPart> searchLevel(const std::vector<const FolderSystemItem*>& folders,
                                   std::string_view foldedQuery) {
    constexpr std::size_t kChildrenPerThread = 20000;
    std::size_t children = 0;
    for (const FolderSystemItem* folder : folders) {
        children += folder->childrenArray().size();
    }
    const std::size_t threads = std::clamp<std::size_t>(
        children / kChildrenPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<LevelPart> parts(threads);
    if (threads == 1) {
        searchFolders(folders, 0, folders.size(), foldedQuery, parts.front());
        return parts;
    }
    std::vector<std::size_t> bounds{0};
    const std::size_t share = children / threads;
    std::size_t counted = 0;
    for (std::size_t i = 0; i < folders.size() && bounds.size() < threads; ++i) {
        counted += folders[i]->childrenArray().size();
        if (counted >= share * bounds.size()) {
            bounds.push_back(i + 1);
        }
    }
    bounds.resize(threads, folders.size());
    bounds.push_back(folders.size());
    std::vector<std::jthread> workers;
    for (std::size_t t = 1; t < threads; ++t) {
        workers.emplace_back(
            [&, t] { searchFolders(folders, bounds[t], bounds[t + 1], foldedQuery, parts[t]); });
    }
    searchFolders(folders, bounds[0], bounds[1], foldedQuery, parts[0]);
    workers.clear();  // joins: the parts are complete only now
    return parts;
}

}  // namespace

ItemList searchItemsByName(const FolderSystemItem& root, std::string_view query,
                           const std::function<bool()>& cancelled) {
    const std::string foldedQuery = caseFolded(query);
    ItemList hits;
    if (foldedQuery.empty() || root.isPack()) {
        return hits;
    }
    std::vector<const FolderSystemItem*> level{&root};
    while (!level.empty()) {
        if (cancelled()) {
            return {};
        }
        std::vector<const FolderSystemItem*> next;
        for (LevelPart& part : searchLevel(level, foldedQuery)) {
            hits.insert(hits.end(), std::make_move_iterator(part.hits.begin()),
                        std::make_move_iterator(part.hits.end()));
            next.insert(next.end(), part.nextLevel.begin(), part.nextLevel.end());
        }
        level = std::move(next);
    }
    std::stable_sort(hits.begin(), hits.end(), [](const ItemRef& a, const ItemRef& b) {
        return a->itemSize() > b->itemSize();
    });
    return hits;
}

}  // namespace korvex
