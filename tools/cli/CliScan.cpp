#include "CliCommands.h"
#include "CliText.h"

#include "scan/format/SizeFormatter.h"
#include "scan/model/BlockingScan.h"
#include "scan/walker/ScanBiggestFiles.h"

#include <signal.h>
#include <sys/stat.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace korvex::cli {

namespace {

constexpr std::size_t kListed = 10;
std::atomic<bool> gInterrupted{false};

void onInterrupt(int) {
    gInterrupted = true;
}

// Ctrl-C cancels the scan; the report of the partial tree still follows.
void catchInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

std::string sizeText(std::int64_t bytes) {
    return sizeString(bytes);
}

nlohmann::json itemJson(const FileSystemItem& item) {
    return {{"path", item.getFullPath()},
            {"bytes", item.gettotalsize()},
            {"folder", item.isDirectory()},
            {"special", item.isSpecial() ? item.getDesc() : ""}};
}

void printJson(const FolderSystemItem& root, const BlockingScanResult& result, const CModel& model,
               const ItemList& biggest) {
    nlohmann::json out;
    out["path"] = root.fullPath();
    out["total_bytes"] = root.gettotalsize();
    out["entries_read"] = model.lastEntriesRead();
    out["folders_denied"] = model.lastDeniedFolders();
    out["seconds"] = result.elapsed.count();
    out["cancelled"] = result.cancelled;
    out["children"] = nlohmann::json::array();
    for (std::size_t i = 0; i < root.numberOfChildren() && i < kListed; ++i) {
        out["children"].push_back(itemJson(*root.childAtIndex(i)));
    }
    out["biggest_files"] = nlohmann::json::array();
    for (std::size_t i = 0; i < biggest.size() && i < kListed; ++i) {
        out["biggest_files"].push_back(itemJson(*biggest[i]));
    }
    // Names are bytes: anything that is not UTF-8 is replaced, not refused.
    std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void printText(const FolderSystemItem& root, const BlockingScanResult& result, const CModel& model,
               const ItemList& biggest) {
    std::printf("%s%s\n", printable(root.fullPath()).c_str(),
                result.cancelled ? " (cancelled)" : "");
    std::printf("  total          %s (%lld bytes)\n", sizeText(root.gettotalsize()).c_str(),
                static_cast<long long>(root.gettotalsize()));
    std::printf("  entries read   %lld\n", static_cast<long long>(model.lastEntriesRead()));
    std::printf("  folders denied %zu\n", model.lastDeniedFolders().size());
    for (std::size_t i = 0; i < model.lastDeniedFolders().size() && i < kListed; ++i) {
        std::printf("    %s\n", printable(model.lastDeniedFolders()[i]).c_str());
    }
    std::printf("  time           %.3f s\n", result.elapsed.count());
    std::printf("  biggest children\n");
    for (std::size_t i = 0; i < root.numberOfChildren() && i < kListed; ++i) {
        const FileSystemItem& child = *root.childAtIndex(i);
        std::string name = child.isSpecial() ? child.getDesc() : std::string(child.name());
        std::printf("    %10s  %s%s\n", sizeText(child.gettotalsize()).c_str(),
                    printable(name).c_str(), child.isDirectory() ? "/" : "");
    }
    std::printf("  biggest files\n");
    for (std::size_t i = 0; i < biggest.size() && i < kListed; ++i) {
        std::printf("    %10s  %s\n", sizeText(biggest[i]->gettotalsize()).c_str(),
                    printable(biggest[i]->fullPath()).c_str());
    }
}

}  // namespace

int runScan(const std::string& path, bool json) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        std::fprintf(stderr, "korvex-cli: %s: %s\n", printable(path).c_str(), std::strerror(errno));
        return 1;
    }
    struct stat info {};
    if (::stat(resolved, &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "korvex-cli: %s: not a folder\n", printable(path).c_str());
        return 1;
    }
    catchInterrupt();
    CModel model;
    model.enumerateVolumes();
    ScanBiggestFiles biggest;
    BlockingScanResult result = runBlockingScan(model, resolved, &biggest, &gInterrupted);
    if (json) {
        printJson(*result.root, result, model, biggest.files());
    } else {
        printText(*result.root, result, model, biggest.files());
    }
    return result.cancelled ? 130 : 0;
}

}  // namespace korvex::cli
