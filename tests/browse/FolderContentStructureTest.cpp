#include "browse/contents/FolderContentStructureImpl.h"
#include "scan/tree/SpecialSystemItem.h"
#include "support/MemoryTree.h"
#include "support/ScannedTree.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace korvex {
namespace {

using GroupType = OutlineListGroupItemImpl::GroupType;
using Names = std::vector<std::string>;

class RecordingListener : public FolderContentStructureListener {
  public:
    void groupExpansionChanged(OutlineListGroupItemImpl& group) override {
        changes.push_back({group.type(), group.isExpanded()});
    }
    std::vector<std::pair<GroupType, bool>> changes;
};

// "name" for an item row, "[Small items]" or "[Hidden items]" for a group.
Names rowNames(const FolderContentStructureImpl& structure,
               const OutlineListItem* parent = nullptr) {
    Names names;
    for (std::size_t i = 0; i < structure.numberOfChildrenOfItem(parent); ++i) {
        const OutlineListItem* row = structure.childOfItem(i, parent);
        if (row->isGroup()) {
            names.push_back("[" + static_cast<const OutlineListGroupItemImpl*>(row)->title() + "]");
        } else {
            names.emplace_back(static_cast<const OutlineListSubItem*>(row)->systemItem()->name());
        }
    }
    return names;
}

const OutlineListGroupItemImpl* groupRow(const FolderContentStructureImpl& structure,
                                         GroupType type) {
    for (const OutlineListRow& row : structure.childrens()) {
        auto* group = dynamic_cast<const OutlineListGroupItemImpl*>(row.get());
        if (group != nullptr && group->type() == type) {
            return group;
        }
    }
    return nullptr;
}

// Empty when the folder has no such group.
std::optional<bool> groupExpanded(const FolderContentStructureImpl& structure, GroupType type) {
    const OutlineListGroupItemImpl* group = groupRow(structure, type);
    return group != nullptr ? std::optional<bool>(group->isExpanded()) : std::nullopt;
}

class FolderContents : public ::testing::Test {
  protected:
    test::ScannedTree tree;
    FolderContentStructureImpl structure;
    RecordingListener listener;
};

TEST_F(FolderContents, BigItemsFirstThenSmallThenHiddenGroups) {
    tree.files().file("big/a.bin", 2000000);
    tree.files().file("mid.bin", 900000);
    tree.files().file("tiny.txt", 100);
    tree.files().file("little.txt", 9000);
    tree.files().file(".secret", 3000000);
    structure.setItem(tree.scan());

    EXPECT_EQ(rowNames(structure), (Names{"big", "mid.bin", "[Small items]", "[Hidden items]"}));
    const auto* small = groupRow(structure, GroupType::smallest);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(groupExpanded(structure, GroupType::smallest), false);
    EXPECT_EQ(rowNames(structure, small), (Names{"little.txt", "tiny.txt"}));
    EXPECT_EQ(small->size(),
              tree.node("little.txt")->itemSize() + tree.node("tiny.txt")->itemSize());
    for (const OutlineListSubRow& row : small->children()) {
        EXPECT_EQ(row->groupItem(), small);
    }
    const auto* hidden = groupRow(structure, GroupType::hidden);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(groupExpanded(structure, GroupType::hidden), false)
        << "other rows exist, so the hidden group starts collapsed";
    EXPECT_EQ(hidden->size(), tree.node(".secret")->itemSize());
    EXPECT_TRUE(structure.isItemExpandable(hidden));
    EXPECT_FALSE(structure.isItemExpandable(structure.childOfItem(0, nullptr)));
}

TEST_F(FolderContents, AllSmallFolderShowsPlainRows) {
    tree.files().file("one.txt", 4000);
    tree.files().file("two.txt", 12000);
    structure.setItem(tree.scan());
    EXPECT_EQ(rowNames(structure), (Names{"two.txt", "one.txt"}));
    EXPECT_EQ(groupRow(structure, GroupType::smallest), nullptr);
}

TEST_F(FolderContents, HiddenOnlyFolderShowsTheHiddenGroupExpanded) {
    tree.files().file(".config/settings", 5000);
    tree.files().file(".profile", 100);
    structure.setItem(tree.scan());
    ASSERT_EQ(rowNames(structure), (Names{"[Hidden items]"}));
    const auto* hidden = groupRow(structure, GroupType::hidden);
    EXPECT_EQ(groupExpanded(structure, GroupType::hidden), true);
    EXPECT_EQ(rowNames(structure, hidden), (Names{".config", ".profile"}));
}

TEST_F(FolderContents, InsideAHiddenFolderEveryRowIsHidden) {
    tree.files().file(".cache/big.bin", 900000);
    tree.files().file(".cache/small.bin", 100);
    tree.scan();
    structure.setItem(tree.node(".cache"));
    EXPECT_EQ(rowNames(structure), (Names{"[Hidden items]"}));
}

TEST_F(FolderContents, GroupExpansionSurvivesARebuildOfTheSameFolderOnly) {
    tree.files().file("big.bin", 900000);
    tree.files().file("small.txt", 10);
    tree.files().file("sub/big.bin", 900000);
    tree.files().file("sub/small.txt", 10);
    FolderRef root = tree.scan();
    structure.setListener(&listener);
    structure.setItem(root);
    auto group = structure.groupFor(GroupType::smallest, false);
    group->setExpanded(true);

    structure.setItem(root);
    EXPECT_EQ(groupRow(structure, GroupType::smallest), group.get());
    EXPECT_TRUE(group->isExpanded());
    EXPECT_EQ(listener.changes,
              (std::vector<std::pair<GroupType, bool>>{{GroupType::smallest, true}}))
        << "the view is told that the kept group differs from the collapsed default";

    structure.setItem(tree.node("sub"));
    EXPECT_EQ(groupExpanded(structure, GroupType::smallest), false);
    structure.setItem(root);
    EXPECT_EQ(groupExpanded(structure, GroupType::smallest), false);
}

TEST_F(FolderContents, RowsAreReusedWhileTheFolderStaysShown) {
    tree.files().file("big.bin", 900000);
    FolderRef root = tree.scan();
    structure.setItem(root);
    const OutlineListItem* first = structure.childOfItem(0, nullptr);
    structure.setItem(root);
    EXPECT_EQ(structure.childOfItem(0, nullptr), first);
    const auto* row = static_cast<const OutlineListSubItem*>(first);
    EXPECT_EQ(row->path(), tree.files().path("big.bin"));
    EXPECT_FALSE(row->isFolder());
}

TEST_F(FolderContents, FilesAndPackagesHaveNoRows) {
    tree.files().file("Tool.AppDir/usr/binary", 900000);
    tree.files().file("plain.bin", 900000);
    tree.scan();
    for (const ItemRef& item : {tree.node("Tool.AppDir"), tree.node("plain.bin"), ItemRef()}) {
        structure.setItem(item);
        EXPECT_TRUE(structure.childrens().empty()) << (item ? item->name() : "none");
    }
}

// Made in memory: allocated sizes on disk come in whole blocks, never at
// exactly 500,000 bytes.
class InMemoryFolder : public ::testing::Test {
  protected:
    ItemRef addFile(std::string_view name, std::int64_t size) {
        return test::file(folder.get(), name, size);
    }
    // The rows of the folder listed afresh, its children in the order they were added.
    Names unsortedRows() {
        folder->setSorted(false);
        structure.setItem(folder);
        return rowNames(structure);
    }
    FolderRef folder = test::memoryRoot("/memory/folder");
    FolderContentStructureImpl structure;
};

TEST_F(InMemoryFolder, ExactlyTheSmallBoundIsAnItemRow) {
    addFile("bound.bin", kSmallItemBound);
    addFile("under.bin", kSmallItemBound - 1);
    structure.setItem(folder);
    EXPECT_EQ(rowNames(structure), (Names{"bound.bin", "[Small items]"}));
}

TEST_F(InMemoryFolder, ARebuildOfTheSameFolderShowsWhatGrewSince) {
    // As during a scan: the list is built while a child is still small, and
    // built again for the same folder once it grew past the others.
    addFile("steady.bin", 700000);
    ItemRef growing = addFile("growing.bin", 10);
    ASSERT_EQ(unsortedRows(), (Names{"steady.bin", "[Small items]"}));
    growing->setFileSize(900000);
    EXPECT_EQ(unsortedRows(), (Names{"growing.bin", "steady.bin"}));
    EXPECT_EQ(structure.childOfItem(0, nullptr)->size(), 900000);
}

TEST_F(InMemoryFolder, EqualSizesSortByNameNumericallyIgnoringCase) {
    addFile("file10", 700000);
    addFile("Photo 10.jpg", 600000);
    addFile("photo 9.JPG", 600000);
    addFile("File9", 700000);
    addFile("huge", 800000);
    EXPECT_EQ(unsortedRows(), (Names{"huge", "File9", "file10", "photo 9.JPG", "Photo 10.jpg"}));
}

TEST_F(InMemoryFolder, NamesDifferingOnlyInCaseCompareEqual) {
    ItemRef upper = addFile("README", 700000);
    ItemRef lower = addFile("readme", 700000);
    OutlineListSubItem a(upper);
    OutlineListSubItem b(lower);
    auto precedes = FolderContentStructureImpl::rowComparator();
    EXPECT_FALSE(precedes(a, b));
    EXPECT_FALSE(precedes(b, a));
}

TEST_F(InMemoryFolder, AccentedCapitalsSortAmongTheirSmallLetters) {
    // "ÉCOLE 2.txt", "école 10.txt" and "école 1.txt" in UTF-8.
    const std::string capital2 = std::string("\xC3\x89") + "COLE 2.txt";
    const std::string small10 = std::string("\xC3\xA9") + "cole 10.txt";
    const std::string small1 = std::string("\xC3\xA9") + "cole 1.txt";
    addFile(capital2, 700000);
    addFile("zebra", 700000);
    addFile(small10, 700000);
    addFile(small1, 700000);
    // Accented letters after the ASCII ones, both cases side by side, numbers in order.
    EXPECT_EQ(unsortedRows(), (Names{"zebra", small1, capital2, small10}));
}

TEST_F(InMemoryFolder, SortedFoldersAndHugeListsKeepTheTreeOrder) {
    addFile("small first", 600000);
    addFile("big second", 900000);
    folder->setSorted(true);
    structure.setItem(folder);
    EXPECT_EQ(rowNames(structure), (Names{"small first", "big second"}));

    folder->setSorted(false);
    for (std::size_t i = 0; i < FolderContentStructureImpl::kSortLimit; ++i) {
        addFile("n" + std::to_string(i), 600000 + static_cast<std::int64_t>(i));
    }
    structure.setItem(folder);
    EXPECT_EQ(rowNames(structure).front(), "small first");
}

TEST_F(InMemoryFolder, SyntheticAndDeniedChildren) {
    test::folder(folder.get(), "locked")->setAccessDenied(true);
    addFile("ok.bin", 900000);
    SpecialSystemItem::initWithType(SpecialSystemItem::Unscanned, folder.get(), "not reached",
                                    5000000);
    structure.setItem(folder);
    EXPECT_EQ(rowNames(structure), (Names{"ok.bin", "[Small items]"}));
    EXPECT_EQ(structure.countOfUnscannedFolders(), 1);
    EXPECT_EQ(structure.countOfUnscannedFiles(), 0);
    structure.setItem(nullptr);
    EXPECT_EQ(structure.countOfUnscannedFolders(), 0);
}

}  // namespace
}  // namespace korvex
