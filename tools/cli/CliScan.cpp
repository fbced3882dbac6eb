#include "CliCommands.h"
#include "CliScanReport.h"
#include "CliText.h"

#include "scan/model/BlockingScan.h"
#include "scan/saved/ScanFile.h"

#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvex::cli {

namespace {

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

}  // namespace

int runScan(const std::string& path, const ScanOptions& options) {
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
    // The report lists the root's children and the biggest files, neither of
    // which needs the folders below in order.
    model.setSortsFinishedTrees(false);
    model.enumerateVolumes();
    BlockingScanResult result = runBlockingScan(model, resolved, nullptr, &gInterrupted);
    // Every entry's identity is read again from disk only for the files that
    // record it: a plain report needs none.
    const bool writesFile = !options.savePath.empty() || !options.ncduPath.empty();
    SavedScan scan = savedScanOf(result.root, model.lastEntriesRead(), model.lastDeniedFolders(),
                                 result.elapsed.count(), result.cancelled, writesFile);
    if (!writeScanFiles(scan, options)) {
        return 1;
    }
    // With the export on standard output, nothing else may go there.
    if (options.ncduPath != "-") {
        if (options.json) {
            printScanJson(scan, false);
        } else {
            printScanText(scan, false);
        }
    }
    // The process ends with this command: the system takes the tree's memory
    // back at once, sooner than its nodes could be freed one by one.
    static const FolderRef* const kept = new FolderRef(scan.root);
    (void)kept;
    return result.cancelled ? 130 : 0;
}

}  // namespace korvex::cli
