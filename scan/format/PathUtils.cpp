#include "scan/format/PathUtils.h"

#include "platform/fs/EntryExists.h"
#include "scan/format/PathsGenerator.h"

#include <algorithm>

namespace korvex {

std::vector<std::string_view> pathComponents(std::string_view path) {
    std::vector<std::string_view> comps;
    std::size_t i = 0;
    if (!path.empty() && path.front() == '/') {
        comps.push_back(path.substr(0, 1));
        i = 1;
    }
    while (i < path.size()) {
        std::size_t next = path.find('/', i);
        if (next == std::string_view::npos) {
            next = path.size();
        }
        if (next > i) {
            comps.push_back(path.substr(i, next - i));
        }
        i = next + 1;
    }
    return comps;
}

std::string joinPathComponent(std::string_view base, std::string_view component) {
    while (!component.empty() && component.front() == '/') {
        component.remove_prefix(1);
    }
    std::string joined(base);
    if (!component.empty()) {
        if (joined.empty() || joined.back() != '/') {
            joined.push_back('/');
        }
        joined.append(component);
    }
    return joined;
}

std::string pathWithReplasingHomeFolderUsingTilda(const std::string& path,
                                                  const std::string& home) {
    if (home.empty() || path.rfind(home, 0) != 0) {
        return path;
    }
    return "~" + path.substr(home.size());
}

std::string pathWithReplasingHomeFolderUsingTilda(const std::string& path) {
    return pathWithReplasingHomeFolderUsingTilda(path,
                                                 PathsGenerator::GetInstance().getHomeDirectory());
}

bool isInFolder(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
           path[folder.size()] == '/';
}

bool Utilmod::isFolderParent(std::string_view folder,
                             const std::vector<std::string_view>* folderComps,
                             std::string_view file,
                             const std::vector<std::string_view>* fileComps) {
    if (file.substr(0, folder.size()) != folder) {
        return false;
    }
    std::vector<std::string_view> ownFolder;
    std::vector<std::string_view> ownFile;
    if (folderComps == nullptr) {
        ownFolder = pathComponents(folder);
        folderComps = &ownFolder;
    }
    if (fileComps == nullptr) {
        ownFile = pathComponents(file);
        fileComps = &ownFile;
    }
    if (folderComps->empty() || fileComps->size() <= folderComps->size()) {
        return false;
    }
    std::size_t last = folderComps->size() - 1;
    return (*folderComps)[last] == (*fileComps)[last];
}

std::string Utilmod::getNameForCopiedFile(const std::string& name, const std::string& folder,
                                          const std::vector<std::string>& newCopiedFiles) {
    auto taken = [&](const std::string& candidate) {
        std::string full = joinPathComponent(folder, candidate);
        return platform::somethingExistsAt(full) ||
               std::find(newCopiedFiles.begin(), newCopiedFiles.end(), full) !=
                   newCopiedFiles.end();
    };
    // The extension is what follows the last dot, unless the dot starts the name.
    std::size_t dot = name.rfind('.');
    bool hasExtension = dot != std::string::npos && dot > 0 && dot + 1 < name.size();
    std::string stem = hasExtension ? name.substr(0, dot) : name;
    std::string extension = hasExtension ? name.substr(dot) : "";
    std::string candidate = name;
    for (unsigned long counter = 2; taken(candidate); ++counter) {
        candidate = stem + " " + std::to_string(counter) + extension;
    }
    return candidate;
}

std::string Utilmod::getNameForCopiedFile(const std::string& name, const std::string& folder) {
    return getNameForCopiedFile(name, folder, {});
}

}  // namespace korvex
