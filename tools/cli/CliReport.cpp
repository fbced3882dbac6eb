#include "CliCommands.h"
#include "CliText.h"

#include "cleanup/report/ResultsReport.h"
#include "scan/model/BlockingScan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvex::cli {

int runReport(const std::string& path, const std::string& out) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (::realpath(path.c_str(), resolved) == nullptr || ::stat(resolved, &info) != 0) {
        std::fprintf(stderr, "korvex-cli: %s: %s\n", printable(path).c_str(), std::strerror(errno));
        return 1;
    }
    if (!S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "korvex-cli: %s: not a folder\n", printable(path).c_str());
        return 1;
    }
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "korvex-cli: %s%s: %s\n", BaseReport::kErrorPrefix,
                     printable(out).c_str(), std::strerror(errno));
        return 1;
    }
    CModel model;
    model.enumerateVolumes();
    BlockingScanResult result = runBlockingScan(model, resolved, nullptr);
    std::shared_ptr<ResultsReport> report = ResultsReport::create();
    report->configureWithRoot(result.root);
    std::optional<std::string> error = report->generateReportStreamTo(fd);
    if (::close(fd) != 0 && !error) {
        error = std::strerror(errno);
    }
    if (error) {
        std::fprintf(stderr, "korvex-cli: %s%s: %s\n", BaseReport::kErrorPrefix,
                     printable(out).c_str(), error->c_str());
        ::unlink(out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace korvex::cli
