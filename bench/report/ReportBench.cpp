// Writes the results report of a synthetic tree of about 1,000,000 nodes, on
// the calling thread and through the background save, and reports the write
// speed and how much memory the writing adds to the tree's own.
//
//   korvex-bench-report [folders-per-level] [files-per-folder] [output folder]

#include "cleanup/report/ResultsReport.h"
#include "platform/dispatch/MainQueue.h"
#include "support/ProcessFigures.h"
#include "support/SyntheticTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace korvex;
using bench::secondsSince;
using bench::statusKiB;

namespace {

long long fileBytes(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

void printFigures(const char* how, const std::string& path, double seconds, long rssBefore) {
    long long bytes = fileBytes(path);
    std::printf("%-18s %8.1f MB in %6.3f s = %7.1f MB/s; resident +%ld KiB (peak %ld KiB)\n", how,
                static_cast<double>(bytes) / 1e6, seconds,
                static_cast<double>(bytes) / 1e6 / seconds, statusKiB("VmRSS:") - rssBefore,
                statusKiB("VmHWM:"));
}

}  // namespace

int main(int argc, char** argv) {
    const int fanOut = argc > 1 ? std::atoi(argv[1]) : 316;
    const int filesPerFolder = argc > 2 ? std::atoi(argv[2]) : 9;
    const std::string folder = argc > 3 ? argv[3] : "/tmp";
    const std::string path = folder + "/korvex-bench-report-" + std::to_string(::getpid()) + ".csv";
    platform::MainQueue::shared().bindToCurrentThread();

    bench::SyntheticTree tree = bench::buildSyntheticTree(fanOut, filesPerFolder);
    tree.root->calctotalsize();
    tree.root->sortChildrenBySize(true);
    long rssTree = statusKiB("VmRSS:");
    std::printf("tree: %zu nodes, resident %ld KiB\n", tree.nodes(), rssTree);

    auto report = ResultsReport::create();
    report->configureWithRoot(tree.root);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    std::optional<std::string> error = report->generateReportStreamTo(fd);
    ::close(fd);
    double seconds = secondsSince(start);
    if (error) {
        std::fprintf(stderr, "%s%s\n", BaseReport::kErrorPrefix, error->c_str());
        ::unlink(path.c_str());
        return 1;
    }
    printFigures("calling thread:", path, seconds, rssTree);

    bool done = false;
    start = std::chrono::steady_clock::now();
    report->saveToPath(path, false, [&](auto, std::optional<std::string> failure) {
        error = failure;
        done = true;
    });
    platform::MainQueue::shared().runUntil([&] { return done; });
    seconds = secondsSince(start);
    if (error) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return 1;
    }
    printFigures("background save:", path, seconds, rssTree);
    ::unlink(path.c_str());
    return 0;
}
