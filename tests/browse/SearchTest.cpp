#include "browse/search/NameSearch.h"
#include "browse/search/SearchPanelPresenter.h"
#include "support/MemoryTree.h"
#include "support/ScannedTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace korvex {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

Names namesOf(const ItemList& items) {
    Names names;
    for (const ItemRef& item : items) {
        names.emplace_back(item->name());
    }
    return names;
}

class RecordingResults : public SearchResultsView {
  public:
    bool isInWindow() const override { return inWindow; }
    void showSearchResults(const FileSystemArray& results) override {
        shown.push_back(results.items());
    }
    bool inWindow = true;
    std::vector<ItemList> shown;
};

class NameSearchTree : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("Photos/holiday.JPG", 40000);
        tree.files().file("Photos/photo-index.txt", 4000);
        tree.files().file("Music/photo of band.flac", 90000);
        tree.files().file("PhotoTool.AppDir/usr/photo.bin", 9000);
        tree.files().file("deep/a/b/c/photo.raw", 200000);
        root = tree.scan();
    }
    bool drainUntil(const std::function<bool()>& done) {
        return platform::MainQueue::shared().runUntil(done, 5s);
    }

    test::ScannedTree tree;
    FolderRef root;
    RecordingResults view;
    SearchResultsPresenter presenter{view};
};

TEST_F(NameSearchTree, FindsNamesIgnoringCaseBiggestFirstButNothingInsidePackages) {
    presenter.search(root, "PHOTO", nullptr, false);
    ASSERT_TRUE(drainUntil([&] { return !view.shown.empty(); }));
    EXPECT_EQ(namesOf(view.shown.back()), (Names{"photo.raw", "photo of band.flac", "Photos",
                                                 "PhotoTool.AppDir", "photo-index.txt"}))
        << "the matching folder is listed and searched; the package only by its own name";
    ItemList hits = view.shown.back();
    EXPECT_TRUE(std::is_sorted(hits.begin(), hits.end(), [](const ItemRef& a, const ItemRef& b) {
        return a->itemSize() > b->itemSize();
    }));
}

// Names in UTF-8, spelled out: "ÉCOLE.txt", "école", "Straße.pdf", "ΣΟΦΙΑ", "σοφ".
const std::string kCapitalEcole = std::string("\xC3\x89") + "COLE.txt";
const std::string kSmallEcole = std::string("\xC3\xA9") + "cole";
const std::string kStrasse = std::string("Stra\xC3\x9F") + "e.pdf";
const std::string kSophia = "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99\xCE\x91";
const std::string kSoph = "\xCF\x83\xCE\xBF\xCF\x86";
// Not UTF-8 at all.
const std::string kBadBytes = "bad\xFF\xC3name";

TEST(NameSearchCase, LettersOfEveryScriptMatchInEitherCaseAndOddBytesStayAsTheyAre) {
    test::ScannedTree tree;
    tree.files().file(kCapitalEcole, 30000);
    tree.files().file(kStrasse, 2000);
    tree.files().file(kSophia, 1000);
    tree.files().file(kBadBytes, 500);
    tree.files().file("ecole.txt", 100);
    const FolderRef root = tree.scan();
    auto search = [&](std::string_view query) {
        return namesOf(searchItemsByName(*root, query, [] { return false; }));
    };
    EXPECT_EQ(search(kSmallEcole), Names{kCapitalEcole})
        << "an accented query finds the capital, and not the plain \"ecole\"";
    EXPECT_EQ(search("STRASSE"), Names{kStrasse});
    EXPECT_EQ(search(kSoph), Names{kSophia});
    EXPECT_EQ(search("D\xFF\xC3N"), Names{kBadBytes});
    EXPECT_EQ(search("COLE"), (Names{kCapitalEcole, "ecole.txt"}));
}

TEST_F(NameSearchTree, RootItselfIsNeverAHit) {
    presenter.search(FolderRef(static_cast<FolderSystemItem*>(tree.node("Photos").get())), "photo",
                     nullptr, false);
    ASSERT_TRUE(drainUntil([&] { return !view.shown.empty(); }));
    EXPECT_EQ(namesOf(view.shown.back()), (Names{"photo-index.txt"}));
}

TEST_F(NameSearchTree, EmptyQueryOrNoFolderAnswersAtOnce) {
    presenter.search(root, "", nullptr, false);
    ASSERT_EQ(view.shown.size(), 1u) << "no background run, no main-queue turn";
    EXPECT_TRUE(view.shown.back().empty());
    presenter.search(nullptr, "photo", nullptr, false);
    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_TRUE(view.shown.back().empty());
}

TEST_F(NameSearchTree, SameQueryIsNotRepeatedUnlessForced) {
    presenter.search(root, "band", nullptr, false);
    ASSERT_TRUE(drainUntil([&] { return view.shown.size() == 1; }));
    presenter.search(root, "band", nullptr, false);
    platform::MainQueue::shared().runUntil([] { return false; }, 100ms);
    EXPECT_EQ(view.shown.size(), 1u);
    presenter.research(root);
    ASSERT_TRUE(drainUntil([&] { return view.shown.size() == 2; }));
    EXPECT_EQ(namesOf(view.shown.back()), (Names{"photo of band.flac"}));
}

TEST_F(NameSearchTree, ResultsForAListOffScreenAreDropped) {
    view.inWindow = false;
    presenter.search(root, "photo", nullptr, false);
    ASSERT_TRUE(drainUntil([&] { return !view.shown.empty(); }));
    EXPECT_TRUE(view.shown.back().empty());
}

// A tree wide enough that a search takes a while: the newer query is issued
// while the older one is still running.
TEST(NameSearchCancel, ANewerSearchDeliversOnlyItsOwnResult) {
    platform::MainQueue::shared().bindToCurrentThread();
    FolderRef root = test::memoryRoot("/memory");
    FolderSystemItem* parent = root.get();
    for (int level = 0; level < 200; ++level) {
        for (int i = 0; i < 500; ++i) {
            test::file(parent, "old_" + std::to_string(i), 1);
        }
        parent = test::folder(parent, "level");
    }
    test::file(parent, "newest", 1);

    RecordingResults view;
    SearchResultsPresenter presenter(view);
    presenter.search(root, "old_", nullptr, false);
    presenter.search(root, "newest", nullptr, false);
    ASSERT_TRUE(platform::MainQueue::shared().runUntil([&] { return !view.shown.empty(); }, 10s));
    platform::MainQueue::shared().runUntil([] { return false; }, 200ms);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(namesOf(view.shown.front()), (Names{"newest"}));
}

class RecordingBarView : public SearchBarView {
  public:
    void setSearchText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class RecordingPanel : public SearchPanelDelegate {
  public:
    void searchPanelDidChangeActive(bool on) override { active.push_back(on); }
    void searchPanelDidChangeSearching(bool on) override { searching.push_back(on); }
    void searchPanelDidChangeHasQuery(bool on) override { hasQuery.push_back(on); }
    void searchPanelResignFocus() override { ++resigned; }
    std::vector<bool> active, searching, hasQuery;
    int resigned = 0;
};

class SearchPanel : public NameSearchTree {
  protected:
    RecordingBarView barView;
    SearchBarPresenterImpl bar{barView};
    RecordingResults results;
    SearchResultsPresenter resultsPresenter{results};
    RecordingPanel delegate;
    SearchPanelPresenter panel{bar, resultsPresenter, &delegate};
};

TEST_F(SearchPanel, QuickKeystrokesLeadToOneSearchForTheFullText) {
    panel.setFolder(root);
    results.shown.clear();
    delegate.searching.clear();
    const auto start = std::chrono::steady_clock::now();
    bar.controlTextDidChange("b");
    bar.controlTextDidChange("ba");
    bar.controlTextDidChange("ban");
    ASSERT_TRUE(drainUntil([&] { return !results.shown.empty(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, SearchBarPresenterImpl::kTypingPause);
    platform::MainQueue::shared().runUntil([] { return false; }, 700ms);
    ASSERT_EQ(results.shown.size(), 1u);
    EXPECT_EQ(namesOf(results.shown.front()), (Names{"photo of band.flac"}));
    EXPECT_EQ(resultsPresenter.searchString(), "ban");
    EXPECT_EQ(delegate.searching, (std::vector<bool>{true, false}));
    EXPECT_EQ(delegate.active, (std::vector<bool>{true}));
    EXPECT_EQ(delegate.hasQuery, (std::vector<bool>{true, true, true}));
}

TEST_F(SearchPanel, EscapeClearsAtOnceMovesFocusAndDeactivates) {
    panel.setFolder(root);
    bar.controlTextDidChange("photo");
    ASSERT_TRUE(drainUntil([&] { return panel.query() == "photo"; }));
    ASSERT_TRUE(panel.isActive());
    results.shown.clear();

    EXPECT_TRUE(bar.doCommand(SearchBarPresenterImpl::Command::cancelOperation));
    EXPECT_EQ(barView.texts, (Names{""}));
    EXPECT_EQ(panel.query(), "") << "a clear is reported without the pause";
    ASSERT_EQ(results.shown.size(), 1u);
    EXPECT_TRUE(results.shown.front().empty());
    EXPECT_EQ(delegate.resigned, 1);
    EXPECT_FALSE(panel.isActive());
    EXPECT_EQ(delegate.active, (std::vector<bool>{true, false}));
}

TEST_F(SearchPanel, TabMovesFocusAndKeepsTheQuery) {
    bar.controlTextDidChange("band");
    EXPECT_TRUE(bar.doCommand(SearchBarPresenterImpl::Command::insertTab));
    EXPECT_EQ(delegate.resigned, 1);
    EXPECT_TRUE(barView.texts.empty());
    EXPECT_EQ(bar.originalSearchQuery(), "band");
}

TEST_F(SearchPanel, ChangingTheFolderSearchesItForTheStoredQuery) {
    panel.setQuery("photo");
    panel.setFolder(FolderRef(static_cast<FolderSystemItem*>(tree.node("Music").get())));
    ASSERT_TRUE(
        drainUntil([&] { return !results.shown.empty() && !results.shown.back().empty(); }));
    EXPECT_EQ(namesOf(results.shown.back()), (Names{"photo of band.flac"}));
}

}  // namespace
}  // namespace korvex
