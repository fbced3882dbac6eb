#pragma once

#include "platform/dispatch/SerialQueue.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvex {

// Produces a report's text a piece at a time, so that no report is ever held
// whole in memory.
class ReportSource {
  public:
    virtual ~ReportSource() = default;
    // Appends the next lines to `out`; answers false once everything was given.
    virtual bool appendNextBatch(std::string& out) = 0;
};

// What every report shares: its file name, where it is saved, writing the
// file on the report queue, telling of failures, opening the result.
//
// The content is produced on the main queue, one batch at a time, and each
// batch is written on the report queue: the scanned tree is only ever read on
// the thread that changes it, and the window stays responsive between batches.
class BaseReport : public std::enable_shared_from_this<BaseReport> {
  public:
    static constexpr const char* kFileExtension = "tsv";
    static constexpr const char* kErrorPrefix = "Error writing report: ";

    // The saved file's path, or the error text (prefixed by kErrorPrefix); both
    // absent when the user cancelled the save panel.
    using Completion =
        std::function<void(std::optional<std::string> savedPath, std::optional<std::string> error)>;
    struct SavePanelRequest {
        std::string proposedName;
        std::string folder;
        std::string allowedExtension;
    };
    // Asks the user where to save; answers the chosen path, or nothing on cancel.
    using SavePanel = std::function<void(const SavePanelRequest&,
                                         std::function<void(std::optional<std::string>)>)>;
    // Opens a saved file with its default application.
    using Opener = std::function<void(const std::string& path)>;

    virtual ~BaseReport() = default;
    BaseReport(const BaseReport&) = delete;
    BaseReport& operator=(const BaseReport&) = delete;

    virtual std::string reportName() const { return "Report"; }
    const std::string& reportSeparator() const { return mReportSeparator; }
    const std::string& defaultFolderToSave() const { return mDefaultFolderToSave; }
    void setDefaultFolderToSave(std::string folder) { mDefaultFolderToSave = std::move(folder); }
    void setSavePanel(SavePanel panel) { mSavePanel = std::move(panel); }
    void setOpener(Opener opener) { mOpener = std::move(opener); }

    // "<report name> yyyy-MM-dd HH.mm.ss.tsv" in local time.
    std::string fileNameForDate(std::chrono::system_clock::time_point when) const;

    // Saves to a chosen place (with the panel) or to defaultFolderToSave; the
    // completion runs on the main queue.
    void saveWithShouldOpen(bool shouldOpen, bool showSavePanel, Completion completion);
    // Writes the report to `path` in the background; completion on the main queue.
    void saveToPath(const std::string& path, bool shouldOpen, Completion completion);

    // Writes the whole report to an open descriptor on the calling thread;
    // answers the error text (without prefix) on failure.
    std::optional<std::string> generateReportStreamTo(int fd);

  protected:
    explicit BaseReport(std::string queueLabel);
    virtual std::unique_ptr<ReportSource> makeSource() = 0;

  private:
    struct Job;
    void writeNextBatch(const std::shared_ptr<Job>& job);
    void finish(const std::shared_ptr<Job>& job, std::optional<std::string> error);

    std::string mReportSeparator = "\t";
    std::string mDefaultFolderToSave;
    SavePanel mSavePanel;
    Opener mOpener;
    platform::SerialQueue mQueue;
};

// The folder reports go to unless the user picks another: the user's
// documents folder, or the home folder when there is none.
std::string defaultReportFolder();

}  // namespace korvex
