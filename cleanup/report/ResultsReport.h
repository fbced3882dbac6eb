#pragma once

#include "cleanup/report/BaseReport.h"
#include "scan/tree/FolderSystemItem.h"

#include <set>

namespace korvex {

// The scanned tree below a folder as a tab-separated report, one line per
// entry, each with a dotted tree id ("1", "1.1", "1.1.1", …) and its parent's.
// Siblings follow in the order of the folder's children (largest first).
// The tree is walked on the main queue while the report is saved; the report
// holds its root until it is written.
class ResultsReport : public BaseReport {
  public:
    static constexpr std::size_t kBatchSize = 10000;

    static std::shared_ptr<ResultsReport> create();

    // A node that is not a folder is ignored.
    void configureWithRoot(const ItemRef& node);
    const FolderRef& root() const { return mRoot; }
    // "Korvex report <root folder name>".
    std::string reportName() const override;

    // Lines collected before each write.
    std::size_t batchSize() const { return mBatchSize; }
    void setBatchSize(std::size_t lines) { mBatchSize = lines > 0 ? lines : 1; }

    // File-system bookkeeping entries that are never reported.
    static const std::set<std::string, std::less<>>& skipList();

  protected:
    ResultsReport();
    std::unique_ptr<ReportSource> makeSource() override;

  private:
    FolderRef mRoot;
    std::size_t mBatchSize = kBatchSize;
};

// Writes the report of `root` to `path` in the background; `completion` gets
// the path or the error text on the main queue. For the window's export action.
void writeResultsReport(const ItemRef& root, const std::string& path,
                        BaseReport::Completion completion);

}  // namespace korvex
