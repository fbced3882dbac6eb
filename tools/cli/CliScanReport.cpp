#include "CliScanReport.h"
#include "CliText.h"

#include "scan/format/SizeFormatter.h"
#include "scan/tree/BiggestFilesInListOrder.h"

#include <cstdio>
#include <ctime>
#include <iostream>

namespace korvex::cli {

namespace {

constexpr std::size_t kListed = 10;

nlohmann::json itemJson(const FileSystemItem& item) {
    return {{"path", item.getFullPath()},
            {"bytes", item.gettotalsize()},
            {"folder", item.isDirectory()},
            {"special", item.isSpecial() ? item.getDesc() : ""}};
}

ItemList biggestFiles(FolderSystemItem& root) {
    return biggestFilesInListOrder(root, kListed);
}

}  // namespace

std::string dateText(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    char text[32] = "?";
    if (::gmtime_r(&time, &parts) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
    }
    return text;
}

void printJsonDocument(const nlohmann::json& document) {
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void printScanJson(const SavedScan& scan, bool fromFile) {
    const FolderSystemItem& root = *scan.root;
    const ItemList biggest = biggestFiles(*scan.root);
    nlohmann::json out;
    out["path"] = root.fullPath();
    out["total_bytes"] = root.gettotalsize();
    out["entries_read"] = scan.entriesRead;
    out["folders_denied"] = scan.deniedFolders;
    out["seconds"] = scan.seconds;
    out["cancelled"] = scan.cancelled;
    if (fromFile) {
        out["host"] = scan.host;
        out["scan_time"] = scan.scanTime;
    }
    out["children"] = nlohmann::json::array();
    for (std::size_t i = 0; i < root.numberOfChildren() && i < kListed; ++i) {
        out["children"].push_back(itemJson(*root.childAtIndex(i)));
    }
    out["biggest_files"] = nlohmann::json::array();
    for (std::size_t i = 0; i < biggest.size() && i < kListed; ++i) {
        out["biggest_files"].push_back(itemJson(*biggest[i]));
    }
    printJsonDocument(out);
}

void printScanText(const SavedScan& scan, bool fromFile) {
    const FolderSystemItem& root = *scan.root;
    const ItemList biggest = biggestFiles(*scan.root);
    std::printf("%s%s\n", printable(root.fullPath()).c_str(), scan.cancelled ? " (cancelled)" : "");
    if (fromFile) {
        // An ncdu export does not name the machine it was made on.
        std::printf("  saved scan of  %s, %s\n",
                    scan.host.empty() ? "an unnamed machine" : printable(scan.host).c_str(),
                    dateText(scan.scanTime).c_str());
    }
    std::printf("  total          %s (%lld bytes)\n", sizeString(root.gettotalsize()).c_str(),
                static_cast<long long>(root.gettotalsize()));
    std::printf("  entries read   %lld\n", static_cast<long long>(scan.entriesRead));
    std::printf("  folders denied %zu\n", scan.deniedFolders.size());
    for (std::size_t i = 0; i < scan.deniedFolders.size() && i < kListed; ++i) {
        std::printf("    %s\n", printable(scan.deniedFolders[i]).c_str());
    }
    std::printf("  time           %.3f s\n", scan.seconds);
    std::printf("  biggest children\n");
    for (std::size_t i = 0; i < root.numberOfChildren() && i < kListed; ++i) {
        const FileSystemItem& child = *root.childAtIndex(i);
        std::string name = child.isSpecial() ? child.getDesc() : std::string(child.name());
        std::printf("    %10s  %s%s\n", sizeString(child.gettotalsize()).c_str(),
                    printable(name).c_str(), child.isDirectory() ? "/" : "");
    }
    std::printf("  biggest files\n");
    for (std::size_t i = 0; i < biggest.size() && i < kListed; ++i) {
        std::printf("    %10s  %s\n", sizeString(biggest[i]->gettotalsize()).c_str(),
                    printable(biggest[i]->fullPath()).c_str());
    }
}

}  // namespace korvex::cli
