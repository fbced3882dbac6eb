#include "cleanup/report/BaseReport.h"

#include "platform/UserFolders.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/format/PathUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace korvex {

namespace {

std::optional<std::string> writeAll(int fd, const std::string& data) {
    const char* next = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::string(std::strerror(errno));
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return std::nullopt;
}

}  // namespace

struct BaseReport::Job {
    std::string path;
    int fd = -1;
    bool shouldOpen = false;
    Completion completion;
    std::unique_ptr<ReportSource> source;
    std::string batch;
};

std::string defaultReportFolder() {
    const platform::UserFolders& folders = platform::UserFolders::current();
    struct stat info {};
    if (::stat(folders.documents().c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return folders.documents();
    }
    return folders.home();
}

BaseReport::BaseReport(std::string queueLabel)
    : mDefaultFolderToSave(defaultReportFolder()), mQueue(std::move(queueLabel)) {}

std::string BaseReport::fileNameForDate(std::chrono::system_clock::time_point when) const {
    std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H.%M.%S", &local);
    return reportName() + " " + stamp + "." + kFileExtension;
}

void BaseReport::saveWithShouldOpen(bool shouldOpen, bool showSavePanel, Completion completion) {
    SavePanelRequest request{fileNameForDate(std::chrono::system_clock::now()),
                             mDefaultFolderToSave, kFileExtension};
    if (!showSavePanel || !mSavePanel) {
        saveToPath(joinPathComponent(request.folder, request.proposedName), shouldOpen,
                   std::move(completion));
        return;
    }
    auto self = shared_from_this();
    mSavePanel(request, [self, shouldOpen, completion = std::move(completion)](
                            std::optional<std::string> chosen) mutable {
        if (!chosen) {
            completion(std::nullopt, std::nullopt);
            return;
        }
        self->saveToPath(*chosen, shouldOpen, std::move(completion));
    });
}

void BaseReport::saveToPath(const std::string& path, bool shouldOpen, Completion completion) {
    auto job = std::make_shared<Job>();
    job->path = path;
    job->shouldOpen = shouldOpen;
    job->completion = std::move(completion);
    job->fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (job->fd < 0) {
        std::string error = std::strerror(errno);
        platform::MainQueue::shared().async(
            [self = shared_from_this(), job, error] { self->finish(job, error); });
        return;
    }
    job->source = makeSource();
    writeNextBatch(job);
}

// One batch is made on the main queue, written on the report queue, and the
// next one is asked for once it is on disk: at most one batch is in memory.
void BaseReport::writeNextBatch(const std::shared_ptr<Job>& job) {
    job->batch.clear();
    bool more = job->source->appendNextBatch(job->batch);
    mQueue.async([self = shared_from_this(), job, more] {
        std::optional<std::string> error = writeAll(job->fd, job->batch);
        platform::MainQueue::shared().async([self, job, more, error] {
            if (error || !more) {
                self->finish(job, error);
            } else {
                self->writeNextBatch(job);
            }
        });
    });
}

void BaseReport::finish(const std::shared_ptr<Job>& job, std::optional<std::string> error) {
    bool opened = job->fd >= 0;
    if (opened && ::close(job->fd) != 0 && !error) {
        error = std::strerror(errno);
    }
    job->fd = -1;
    job->source.reset();
    if (error) {
        std::string message = std::string(kErrorPrefix) + *error;
        syslog(LOG_ERR, "%s; %s", message.c_str(), job->path.c_str());
        // A cut-off report would pass for a whole one; none is left behind.
        // A file that could not be opened is not ours to remove.
        if (opened) {
            ::unlink(job->path.c_str());
        }
        job->completion(std::nullopt, message);
        return;
    }
    if (job->shouldOpen && mOpener) {
        mOpener(job->path);
    }
    job->completion(job->path, std::nullopt);
}

std::optional<std::string> BaseReport::generateReportStreamTo(int fd) {
    std::unique_ptr<ReportSource> source = makeSource();
    std::string batch;
    bool more = true;
    while (more) {
        batch.clear();
        more = source->appendNextBatch(batch);
        if (std::optional<std::string> error = writeAll(fd, batch)) {
            return error;
        }
    }
    return std::nullopt;
}

}  // namespace korvex
