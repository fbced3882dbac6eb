#include "cleanup/report/ResultsReport.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"
#include "support/DiskUsage.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

namespace korvex {
namespace {

using namespace std::chrono_literals;

constexpr const char* kHeader =
    "\xEF\xBB\xBFPath\tName\tExtension\tType\tSize\tDepth\tTreeID\tParentID\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

FolderRef folder(std::string_view name, FolderSystemItem* parent, bool package = false) {
    return parent == nullptr
               ? FolderSystemItem::initWithPathSizeNoParent(name, nullptr, 0, package, 0, false,
                                                            false)
               : FolderSystemItem::initWithPathSize(name, parent, 0, package, 0, false, false);
}

void file(std::string_view name, FolderSystemItem* parent, std::int64_t size) {
    FileSystemItem::initWithPathSize(name, parent, size, 0, false, false);
    parent->increaseTotalSize(size);
}

std::shared_ptr<ResultsReport> reportOn(const ItemRef& root) {
    auto report = ResultsReport::create();
    report->configureWithRoot(root);
    return report;
}

// The report written on the calling thread, as the command line writes it.
std::string reportText(const ItemRef& root, std::size_t batchSize = ResultsReport::kBatchSize) {
    test::TempTree tree;
    std::string path = tree.path("report.csv");
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    auto report = reportOn(root);
    report->setBatchSize(batchSize);
    EXPECT_EQ(report->generateReportStreamTo(fd), std::nullopt);
    ::close(fd);
    return readFile(path);
}

class MainQueueTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::MainQueue::shared().bindToCurrentThread(); }
    // The report queue hands its spent blocks, and with the last of them the
    // report, to the main queue: they are let go here, not at exit.
    void TearDown() override {
        platform::MainQueue::shared().runUntil([] { return false; }, 100ms);
    }

    struct Outcome {
        bool done = false;
        std::optional<std::string> path;
        std::optional<std::string> error;
    };
    BaseReport::Completion recordInto(Outcome& outcome) {
        return [&outcome](std::optional<std::string> path, std::optional<std::string> error) {
            EXPECT_TRUE(platform::isMainThread());
            outcome = {true, std::move(path), std::move(error)};
        };
    }
    void waitFor(const Outcome& outcome) {
        ASSERT_TRUE(platform::MainQueue::shared().runUntil([&] { return outcome.done; }, 10s));
    }
    test::TempTree tree;
};

// ---- The lines

TEST(ResultsReportFormat, NodeThatIsNotAFolderIsIgnored) {
    FolderRef root = folder("/data", nullptr);
    file("loose.txt", root.get(), 10);
    EXPECT_EQ(reportOn(root->childAtIndex(0))->root(), nullptr);
    EXPECT_EQ(reportText(root->childAtIndex(0)), kHeader);
}

TEST(ResultsReportFormat, TreeIdsDepthsTypesAndSizesFollowTheTree) {
    FolderRef root = folder("/data", nullptr);
    FolderRef docs = folder("docs", root.get());
    file("a.tar.gz", docs.get(), 300);
    FolderRef app = folder("Tool.app", docs.get(), true);
    file(".profile", root.get(), 5);
    std::string expected = std::string(kHeader) +
                           "\"/data\"\t\"data\"\t\tdir\t305\t0\t1\t0\n"
                           "\"/data/docs\"\t\"docs\"\t\tdir\t300\t1\t1.1\t1\n"
                           "\"/data/docs/a.tar.gz\"\t\"a.tar.gz\"\tgz\tfile\t300\t2\t1.1.1\t1.1\n"
                           "\"/data/docs/Tool.app\"\t\"Tool.app\"\tapp\tbundle\t0\t2\t1.1.2\t1.1\n"
                           "\"/data/.profile\"\t\".profile\"\t\tfile\t5\t1\t1.2\t1\n";
    EXPECT_EQ(reportText(root), expected);
}

TEST(ResultsReportFormat, SkippedNamesAndSyntheticNodesLeaveNoGapInTheIds) {
    VolumeRef volume = VolumeSystemItem::initWithPath("/mnt/disk", 1000, 100);
    folder("lost+found", volume.get());
    file("kept", volume.get(), 7);
    SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, volume.get(), "purgeable", 50);
    file("also kept", volume.get(), 3);
    std::string expected = std::string(kHeader) +
                           "\"/mnt/disk\"\t\"disk\"\t\tdir\t1000\t0\t1\t0\n"
                           "\"/mnt/disk/kept\"\t\"kept\"\t\tfile\t7\t1\t1.1\t1\n"
                           "\"/mnt/disk/also kept\"\t\"also kept\"\t\tfile\t3\t1\t1.2\t1\n";
    EXPECT_EQ(reportText(volume), expected);
}

TEST(ResultsReportFormat, OddNamesAreWrittenUnchangedBetweenTheQuotes) {
    FolderRef root = folder("/d", nullptr);
    file("tab\there", root.get(), 1);
    file("say \"hi\".txt", root.get(), 1);
    file("two\nlines", root.get(), 1);
    file("bad\xff\xfe", root.get(), 1);
    std::string text = reportText(root);
    EXPECT_NE(text.find("\"/d/tab\there\"\t\"tab\there\"\t\tfile"), std::string::npos);
    EXPECT_NE(text.find("\"/d/say \"hi\".txt\"\t\"say \"hi\".txt\"\ttxt\tfile"), std::string::npos);
    EXPECT_NE(text.find("\"/d/two\nlines\"\t\"two\nlines\"\t\tfile"), std::string::npos);
    EXPECT_NE(text.find("\"/d/bad\xff\xfe\"\t\"bad\xff\xfe\"\t\tfile"), std::string::npos);
}

TEST(ResultsReportFormat, SmallBatchesGiveTheSameText) {
    FolderRef root = folder("/b", nullptr);
    for (int i = 0; i < 4; ++i) {
        FolderRef sub = folder("sub" + std::to_string(i), root.get());
        for (int j = 0; j < 5; ++j) {
            file("f" + std::to_string(j), sub.get(), i * 10 + j);
        }
    }
    std::string whole = reportText(root);
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 1 + 1 + 4 + 20);
    for (std::size_t batch : {1u, 3u, 25u, 26u}) {
        EXPECT_EQ(reportText(root, batch), whole) << "batch of " << batch;
    }
}

// ---- A spreadsheet's reader

// What Python's csv module reads back from a report: the rows as lists.
nlohmann::json readWithPythonCsv(const std::string& reportPath, const test::TempTree& tree) {
    std::string script = tree.path("read.py");
    std::ofstream(script) << "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='', encoding='utf-8-sig',\n"
                             "          errors='surrogateescape') as f:\n"
                             "    rows = list(csv.reader(f, delimiter='\\t'))\n"
                             "def shown(field):\n"
                             "    raw = field.encode('utf-8', 'surrogateescape')\n"
                             "    return raw.decode('utf-8', 'backslashreplace')\n"
                             "print(json.dumps([[shown(x) for x in row] for row in rows]))\n";
    const std::string output = test::commandOutput("python3 " + test::shellQuoted(script) + " " +
                                                   test::shellQuoted(reportPath));
    return nlohmann::json::parse(output, nullptr, false);
}

TEST(ResultsReportSpreadsheet, CsvReaderSeesEveryEntryWithItsFields) {
    test::TempTree tree;
    FolderRef root = folder("/r", nullptr);
    FolderRef sub = folder("tabbed\tfolder", root.get());
    file("line\nbreak.txt", sub.get(), 20);
    file("plain.txt", sub.get(), 10);
    file("quote \"inside\".md", root.get(), 5);
    file("bad\xff.bin", root.get(), 1);
    std::string path = tree.path("r.csv");
    std::ofstream(path, std::ios::binary) << reportText(root);

    nlohmann::json rows = readWithPythonCsv(path, tree);
    ASSERT_TRUE(rows.is_array());
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], nlohmann::json({"Path", "Name", "Extension", "Type", "Size", "Depth",
                                       "TreeID", "ParentID"}));
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), 8u) << row.dump();
    }
    // Separators and line breaks inside the quotes come back exactly.
    EXPECT_EQ(rows[2][0], "/r/tabbed\tfolder");
    EXPECT_EQ(rows[2][1], "tabbed\tfolder");
    EXPECT_EQ(rows[3][0], "/r/tabbed\tfolder/line\nbreak.txt");
    EXPECT_EQ(rows[3][1], "line\nbreak.txt");
    EXPECT_EQ(rows[3][2], "txt");
    // Bytes that are not UTF-8 are kept as they are on disk.
    EXPECT_EQ(rows[6][1], "bad\\xff.bin");
    std::vector<std::string> ids, parents, sizes;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ids.push_back(rows[i][6]);
        parents.push_back(rows[i][7]);
        sizes.push_back(rows[i][4]);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"1", "1.1", "1.1.1", "1.1.2", "1.2", "1.3"}));
    EXPECT_EQ(parents, (std::vector<std::string>{"0", "1", "1.1", "1.1", "1", "1"}));
    EXPECT_EQ(sizes, (std::vector<std::string>{"36", "30", "20", "10", "5", "1"}));
}

// ---- Saving

TEST_F(MainQueueTest, SavedInTheBackgroundAsWrittenInPlace) {
    FolderRef root = folder("/s", nullptr);
    for (int i = 0; i < 30; ++i) {
        file("f" + std::to_string(i), root.get(), i);
    }
    Outcome outcome;
    auto report = reportOn(root);
    report->setBatchSize(7);
    report->saveToPath(tree.path("s.csv"), false, recordInto(outcome));
    waitFor(outcome);
    EXPECT_EQ(outcome.error, std::nullopt);
    EXPECT_EQ(outcome.path, tree.path("s.csv"));
    EXPECT_EQ(readFile(tree.path("s.csv")), reportText(root));
}

TEST_F(MainQueueTest, UnwritableLocationIsReportedWithThePrefix) {
    Outcome outcome;
    writeResultsReport(folder("/x", nullptr), tree.path("missing/r.csv"), recordInto(outcome));
    waitFor(outcome);
    EXPECT_EQ(outcome.path, std::nullopt);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(*outcome.error, "Error writing report: No such file or directory");
}

TEST(ResultsReportSaving, FullDiskIsAnError) {
    FolderRef root = folder("/full", nullptr);
    int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(reportOn(root)->generateReportStreamTo(fd), "No space left on device");
    ::close(fd);
}

TEST_F(MainQueueTest, SavePanelIsOfferedTheNameFolderAndExtension) {
    auto report = reportOn(folder("/p", nullptr));
    report->setDefaultFolderToSave(tree.path());
    BaseReport::SavePanelRequest asked;
    std::vector<std::string> opened;
    std::optional<std::string> answer;
    report->setSavePanel([&](const BaseReport::SavePanelRequest& request, auto reply) {
        asked = request;
        reply(answer);
    });
    report->setOpener([&](const std::string& path) { opened.push_back(path); });

    Outcome cancelled;
    report->saveWithShouldOpen(true, true, recordInto(cancelled));
    waitFor(cancelled);
    EXPECT_EQ(cancelled.path, std::nullopt);
    EXPECT_EQ(cancelled.error, std::nullopt);
    EXPECT_EQ(asked.folder, tree.path());
    EXPECT_EQ(asked.allowedExtension, "tsv");
    EXPECT_TRUE(asked.proposedName.starts_with("Korvex report p ")) << asked.proposedName;
    EXPECT_TRUE(std::filesystem::is_empty(tree.root()));

    answer = tree.path("chosen.tsv");
    Outcome saved;
    report->saveWithShouldOpen(true, true, recordInto(saved));
    waitFor(saved);
    EXPECT_EQ(saved.path, answer);
    EXPECT_EQ(opened, std::vector<std::string>{*answer});
}

TEST_F(MainQueueTest, WithoutThePanelTheReportGoesToTheDefaultFolder) {
    auto report = reportOn(folder("/q", nullptr));
    report->setDefaultFolderToSave(tree.path());
    bool asked = false;
    report->setSavePanel([&](const auto&, auto) { asked = true; });
    Outcome saved;
    report->saveWithShouldOpen(false, false, recordInto(saved));
    waitFor(saved);
    EXPECT_FALSE(asked);
    ASSERT_TRUE(saved.path);
    EXPECT_EQ(std::filesystem::path(*saved.path).parent_path(), tree.root());
    EXPECT_EQ(readFile(*saved.path).substr(0, 3), "\xEF\xBB\xBF");
}

TEST(ResultsReportSaving, FileNameCarriesTheLocalTime) {
    std::tm local{};
    std::tie(local.tm_year, local.tm_mon, local.tm_mday) = std::tuple(2026 - 1900, 0, 2);
    std::tie(local.tm_hour, local.tm_min, local.tm_sec, local.tm_isdst) = std::tuple(3, 4, 5, -1);
    auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
    auto report = ResultsReport::create();
    EXPECT_EQ(report->fileNameForDate(when), "Korvex report 2026-01-02 03.04.05.tsv");
    // The scanned folder's name follows; a volume's root "/" gives none.
    report->configureWithRoot(folder("/data/photos", nullptr));
    EXPECT_EQ(report->fileNameForDate(when), "Korvex report photos 2026-01-02 03.04.05.tsv");
    report->configureWithRoot(folder("/", nullptr));
    EXPECT_EQ(report->fileNameForDate(when), "Korvex report 2026-01-02 03.04.05.tsv");
}

}  // namespace
}  // namespace korvex
