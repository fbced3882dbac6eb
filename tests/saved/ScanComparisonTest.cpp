#include "scan/saved/ScanComparison.h"
#include "support/ScannedTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace korvex::test {
namespace {

using Kind = ScanComparison::ChangeKind;

// Two scans of one real tree with known changes between them: a file added,
// one grown, one removed and a folder moved.
TEST(ScanComparison, ReportsExactlyTheChangesMadeBetweenTwoScans) {
    ScannedTree tree;
    const TempTree& files = tree.files();
    files.file("keep/same", 30'000);
    files.file("keep/grow", 10'000);
    files.file("gone", 20'000);
    files.file("old/moved/inside", 60'000);
    files.folder("new");
    const FolderRef before = tree.scan();

    files.file("keep/added", 40'000);
    files.file("keep/grow", 90'000);
    std::filesystem::remove(files.path("gone"));
    std::filesystem::rename(files.path("old/moved"), files.path("new/moved"));
    const FolderRef after = tree.scan();

    const ScanComparison comparison(*before, *after);
    // Folders' own entry tables may change size with their entries; those
    // are listed apart and are not what this tree changed.
    std::map<std::string, std::pair<Kind, std::int64_t>> changes;
    for (const ScanComparison::Change& change : comparison.changes()) {
        if (!change.ownBlocks) {
            changes[change.path] = {change.kind, change.delta()};
        }
    }
    const auto size = [&](const FolderRef& root, const char* relative) {
        return root->getItemByFilePath(files.path(relative))->gettotalsize();
    };
    const std::map<std::string, std::pair<Kind, std::int64_t>> expected = {
        {files.path("keep/added"), {Kind::Added, size(after, "keep/added")}},
        {files.path("keep/grow"),
         {Kind::Grown, size(after, "keep/grow") - size(before, "keep/grow")}},
        {files.path("gone"), {Kind::Removed, -size(before, "gone")}},
        {files.path("old/moved"), {Kind::Removed, -size(before, "old/moved")}},
        {files.path("new/moved"), {Kind::Added, size(after, "new/moved")}},
    };
    EXPECT_EQ(changes, expected);

    EXPECT_EQ(comparison.totalDelta(), after->gettotalsize() - before->gettotalsize());
    const FileSystemItem* moved = after->getItemByFilePath(files.path("new/moved")).get();
    EXPECT_TRUE(comparison.isAdded(moved));
    EXPECT_EQ(comparison.deltaOf(moved), moved->gettotalsize());
    const FileSystemItem* same = after->getItemByFilePath(files.path("keep/same")).get();
    EXPECT_EQ(comparison.deltaOf(same), 0);
    EXPECT_EQ(comparison.removedBelow(after.get()), size(before, "gone"));
    // Biggest change first.
    const auto& list = comparison.changes();
    for (std::size_t i = 1; i < list.size(); ++i) {
        EXPECT_GE(std::llabs(list[i - 1].delta()), std::llabs(list[i].delta()));
    }
}

}  // namespace
}  // namespace korvex::test
