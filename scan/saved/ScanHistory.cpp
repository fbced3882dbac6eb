#include "scan/saved/ScanHistory.h"

#include "platform/UserFolders.h"
#include "scan/saved/SavedScanWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korvex {

namespace {

constexpr std::string_view kSuffix = ".korvexscan";

// FNV-1a: stable across builds and runs, unlike std::hash.
std::uint64_t pathHash(std::string_view path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Zero-padded, so that the names sort as the times do.
std::string fileNameFor(std::int64_t scanTime) {
    char name[32];
    std::snprintf(name, sizeof name, "%012lld",
                  static_cast<long long>(std::max<std::int64_t>(scanTime, 0)));
    return name + std::string(kSuffix);
}

}  // namespace

std::string ScanHistory::defaultFolder() {
    // Read now rather than from the process's first look at the environment,
    // so that a changed data folder applies from the next scan on.
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string base = data != nullptr && data[0] == '/'
                                 ? std::string(data)
                                 : platform::UserFolders::current().home() + "/.local/share";
    return base + "/korvex/scans";
}

std::string ScanHistory::folderOf(const std::string& targetPath) const {
    char name[24];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(pathHash(targetPath)));
    return mFolder + "/" + name;
}

ScanHistory::Recorded ScanHistory::record(const SavedScan& scan) const {
    const std::string folder = folderOf(scan.root->fullPath());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return {{}, folder + ": " + error.message()};
    }
    const std::string file = folder + "/" + fileNameFor(scan.scanTime);
    if (auto failed = writeSavedScan(scan, file)) {
        return {{}, failed};
    }
    const std::vector<std::string> kept = scansOf(scan.root->fullPath());
    for (std::size_t i = kKeptPerTarget; i < kept.size(); ++i) {
        std::filesystem::remove(kept[i], error);
    }
    return {file, std::nullopt};
}

std::vector<std::string> ScanHistory::scansOf(const std::string& targetPath) const {
    std::vector<std::string> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folderOf(targetPath), error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.ends_with(kSuffix) && it->is_regular_file(error)) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.rbegin(), files.rend());
    return files;
}

std::optional<std::string> ScanHistory::previousOf(const std::string& targetPath,
                                                   const std::string& except) const {
    for (const std::string& file : scansOf(targetPath)) {
        if (file != except) {
            return file;
        }
    }
    return std::nullopt;
}

}  // namespace korvex
