// korvex-cli: the scan engine from the command line.
//
//   korvex-cli scan PATH [--json]   scan a folder or volume and report it
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
        "usage: korvex-cli scan PATH [--json]\n       korvex-cli volumes [--json]\n"
        "       korvex-cli report PATH OUT\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else {
            args.emplace_back(argv[i]);
        }
    }
    if (args.size() == 2 && args[0] == "scan") {
        return korvex::cli::runScan(args[1], json);
    }
    if (args.size() == 3 && args[0] == "report") {
        return korvex::cli::runReport(args[1], args[2]);
    }
    if (args.size() == 1 && args[0] == "volumes") {
        return korvex::cli::runVolumes(json);
    }
    return usage();
}
