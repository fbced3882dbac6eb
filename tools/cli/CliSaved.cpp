#include "CliCommands.h"
#include "CliScanReport.h"
#include "CliText.h"

#include "platform/fs/AtomicFileWrite.h"
#include "scan/format/SizeFormatter.h"
#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanWriter.h"
#include "scan/saved/ScanComparison.h"
#include "scan/saved/ScanFile.h"

#include <cstdio>

namespace korvex::cli {

namespace {

std::optional<SavedScan> openScan(const std::string& file) {
    SavedScanResult result = readScanFile(file);
    if (!result.scan) {
        std::fprintf(stderr, "korvex-cli: %s\n", printable(result.error).c_str());
    }
    return std::move(result.scan);
}

const char* kindText(ScanComparison::ChangeKind kind) {
    switch (kind) {
        case ScanComparison::ChangeKind::Added:
            return "added";
        case ScanComparison::ChangeKind::Removed:
            return "removed";
        case ScanComparison::ChangeKind::Grown:
            return "grown";
        case ScanComparison::ChangeKind::Shrunk:
            return "shrunk";
    }
    return "?";
}

}  // namespace

bool writeScanFiles(const SavedScan& scan, const ScanOptions& options) {
    if (!options.savePath.empty()) {
        if (auto error = writeSavedScan(scan, options.savePath)) {
            std::fprintf(stderr, "korvex-cli: %s\n", printable(*error).c_str());
            return false;
        }
    }
    if (options.ncduPath.empty()) {
        return true;
    }
    const std::string text = encodeNcduExport(scan);
    if (options.ncduPath == "-") {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fflush(stdout) != 0) {
            std::perror("korvex-cli: standard output");
            return false;
        }
        return true;
    }
    if (auto error = platform::writeFileAtomically(options.ncduPath, text)) {
        std::fprintf(stderr, "korvex-cli: %s\n", printable(*error).c_str());
        return false;
    }
    return true;
}

int runShow(const std::string& file, bool json) {
    std::optional<SavedScan> scan = openScan(file);
    if (!scan) {
        return 1;
    }
    if (json) {
        printScanJson(*scan, true);
    } else {
        printScanText(*scan, true);
    }
    return 0;
}

int runDiff(const std::string& older, const std::string& newer, bool json) {
    std::optional<SavedScan> before = openScan(older);
    std::optional<SavedScan> after = before ? openScan(newer) : std::nullopt;
    if (!after) {
        return 1;
    }
    const ScanComparison comparison(*before->root, *after->root);
    if (json) {
        nlohmann::json out;
        out["old"] = {{"path", before->root->fullPath()},
                      {"host", before->host},
                      {"scan_time", before->scanTime},
                      {"total_bytes", before->root->gettotalsize()}};
        out["new"] = {{"path", after->root->fullPath()},
                      {"host", after->host},
                      {"scan_time", after->scanTime},
                      {"total_bytes", after->root->gettotalsize()}};
        out["total_delta"] = comparison.totalDelta();
        out["changes"] = nlohmann::json::array();
        for (const ScanComparison::Change& change : comparison.changes()) {
            out["changes"].push_back({{"kind", kindText(change.kind)},
                                      {"path", change.path},
                                      {"folder", change.folder},
                                      {"old_bytes", change.oldBytes},
                                      {"new_bytes", change.newBytes},
                                      {"delta", change.delta()}});
        }
        printJsonDocument(out);
        return 0;
    }
    std::printf("%s, %s -> %s, %s\n", printable(before->host).c_str(),
                dateText(before->scanTime).c_str(), printable(after->host).c_str(),
                dateText(after->scanTime).c_str());
    std::printf("  total %s -> %s (%s)\n", sizeString(before->root->gettotalsize()).c_str(),
                sizeString(after->root->gettotalsize()).c_str(),
                signedSizeString(comparison.totalDelta()).c_str());
    for (const ScanComparison::Change& change : comparison.changes()) {
        std::printf("  %-7s %10s  %s%s\n", kindText(change.kind),
                    signedSizeString(change.delta()).c_str(), printable(change.path).c_str(),
                    change.folder ? "/" : "");
    }
    return 0;
}

}  // namespace korvex::cli
