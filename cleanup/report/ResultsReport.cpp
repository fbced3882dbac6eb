#include "cleanup/report/ResultsReport.h"

#include "cleanup/report/ResultsReportItem.h"
#include "platform/fs/FileDates.h"

#include <filesystem>
#include <vector>

namespace korvex {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Depth-first walk with an explicit stack. A folder's path and tree id are
// kept once, shared by the stack entries of its children, so the stack holds
// one small entry per pending node and nothing is copied from the tree.
class ResultsReportWalk : public ReportSource {
  public:
    ResultsReportWalk(FolderRef root, std::string separator, std::size_t batchSize)
        : mSeparator(std::move(separator)), mBatchSize(batchSize) {
        if (root != nullptr) {
            mStack.push_back({std::move(root), nullptr, 0, 1});
        }
    }

    bool appendNextBatch(std::string& out) override {
        if (!mHeaderWritten) {
            out.append(kByteOrderMark);
            ResultsReportItem::appendHeader(out, mSeparator);
            mHeaderWritten = true;
        }
        for (std::size_t lines = 0; lines < mBatchSize && !mStack.empty(); ++lines) {
            Entry entry = std::move(mStack.back());
            mStack.pop_back();
            report(entry, out);
        }
        return !mStack.empty();
    }

  private:
    struct Folder {
        std::string path;
        std::string treeID;
    };
    struct Entry {
        ItemRef node;
        std::shared_ptr<const Folder> parent;  // none for the root
        int depth;
        std::size_t index;
    };

    static bool isReported(const FileSystemItem& child) {
        return !child.isSpecial() && !ResultsReport::skipList().contains(child.name());
    }

    void report(const Entry& entry, std::string& out) {
        const FileSystemItem& node = *entry.node;
        std::string_view parentID =
            entry.parent != nullptr ? std::string_view(entry.parent->treeID) : "0";
        mTreeID.clear();
        if (entry.parent != nullptr) {
            mTreeID.append(entry.parent->treeID).push_back('.');
        }
        mTreeID.append(std::to_string(entry.index));

        mPath.clear();
        std::string_view name = node.name();
        if (entry.parent == nullptr) {
            node.appendFullPath(mPath);
        } else {
            mPath.append(entry.parent->path);
            if (mPath.empty() || mPath.back() != '/') {
                mPath.push_back('/');
            }
            mPath.append(name);
        }
        std::string shownName;
        if (name == "/") {
            shownName = platform::displayNameAtPath(mPath);
            name = shownName;
        }
        ResultsReportItem{mPath,
                          name,
                          pathExtension(name),
                          node.isPack()  ? "bundle"
                          : node.isDir() ? "dir"
                                         : "file",
                          node.getWholeItemSize(),
                          entry.depth,
                          mTreeID,
                          parentID}
            .appendLine(out, mSeparator);
        if (node.isDirectory()) {
            pushChildren(static_cast<const FolderSystemItem&>(node), entry.depth);
        }
    }

    // Pushed last to first, so that the first child is reported next.
    void pushChildren(const FolderSystemItem& folder, int depth) {
        const ItemList& children = folder.childrenArray();
        std::size_t kept = 0;
        for (const ItemRef& child : children) {
            kept += isReported(*child) ? 1 : 0;
        }
        if (kept == 0) {
            return;
        }
        auto shared = std::make_shared<const Folder>(Folder{mPath, mTreeID});
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (isReported(**it)) {
                mStack.push_back({*it, shared, depth + 1, kept--});
            }
        }
    }

    std::string mSeparator;
    std::size_t mBatchSize;
    bool mHeaderWritten = false;
    std::vector<Entry> mStack;
    std::string mPath;    // of the entry being reported
    std::string mTreeID;  // of the entry being reported
};

}  // namespace

ResultsReport::ResultsReport() : BaseReport("com.halvorn.ResultsReport") {}

std::shared_ptr<ResultsReport> ResultsReport::create() {
    return std::shared_ptr<ResultsReport>(new ResultsReport());
}

void ResultsReport::configureWithRoot(const ItemRef& node) {
    if (node != nullptr && node->isDir()) {
        mRoot = FolderRef(static_cast<FolderSystemItem*>(node.get()));
    }
}

std::string ResultsReport::reportName() const {
    // The scanned folder's own name; a volume's root "/" has none.
    const std::string folder =
        mRoot != nullptr ? std::filesystem::path(mRoot->getFullPath()).filename().string() : "";
    return folder.empty() ? "Korvex report" : "Korvex report " + folder;
}

const std::set<std::string, std::less<>>& ResultsReport::skipList() {
    // Recovery folders, snapshot folders and the bookkeeping of other systems'
    // volumes: no user data, and their content is not the user's to weigh.
    static const std::set<std::string, std::less<>> names{
        "lost+found", ".snapshots", ".zfs", "System Volume Information", "$RECYCLE.BIN", "$Extend"};
    return names;
}

std::unique_ptr<ReportSource> ResultsReport::makeSource() {
    return std::make_unique<ResultsReportWalk>(mRoot, reportSeparator(), mBatchSize);
}

void writeResultsReport(const ItemRef& root, const std::string& path,
                        BaseReport::Completion completion) {
    std::shared_ptr<ResultsReport> report = ResultsReport::create();
    report->configureWithRoot(root);
    report->saveToPath(path, false, std::move(completion));
}

}  // namespace korvex
