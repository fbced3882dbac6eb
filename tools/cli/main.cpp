// korvex-cli: the scan engine from the command line.
//
//   korvex-cli scan PATH [--json] [--save FILE] [--export-ncdu FILE|-]
//                                   scan a folder or volume, report it, keep it
//   korvex-cli show FILE [--json]   report a saved scan or an ncdu export
//   korvex-cli diff OLD NEW [--json] what changed between two scan files
//   korvex-cli volumes [--json]     list the scan targets
//   korvex-cli report PATH OUT      scan a folder and write its tab-separated report

#include "CliCommands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fputs(
        "usage: korvex-cli scan PATH [--json] [--save FILE] [--export-ncdu FILE|-]\n"
        "       korvex-cli show FILE [--json]\n"
        "       korvex-cli diff OLD NEW [--json]\n"
        "       korvex-cli volumes [--json]\n"
        "       korvex-cli report PATH OUT\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    korvex::cli::ScanOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            options.json = true;
        } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
            options.savePath = argv[++i];
        } else if (std::strcmp(argv[i], "--export-ncdu") == 0 && i + 1 < argc) {
            options.ncduPath = argv[++i];
        } else {
            args.emplace_back(argv[i]);
        }
    }
    const bool scanOnly = options.savePath.empty() && options.ncduPath.empty();
    if (args.size() == 2 && args[0] == "scan") {
        return korvex::cli::runScan(args[1], options);
    }
    if (!scanOnly) {
        return usage();
    }
    if (args.size() == 2 && args[0] == "show") {
        return korvex::cli::runShow(args[1], options.json);
    }
    if (args.size() == 3 && args[0] == "diff") {
        return korvex::cli::runDiff(args[1], args[2], options.json);
    }
    if (args.size() == 3 && args[0] == "report") {
        return korvex::cli::runReport(args[1], args[2]);
    }
    if (args.size() == 1 && args[0] == "volumes") {
        return korvex::cli::runVolumes(options.json);
    }
    return usage();
}
