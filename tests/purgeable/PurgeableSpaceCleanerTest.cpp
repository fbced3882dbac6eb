#include "cleanup/purgeable/PurgeableSpaceCleaner.h"
#include "cleanup/purgeable/RecoveryResultObject.h"
#include "support/MemoryTree.h"
#include "support/TempSettings.h"
#include "support/TempTree.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// ---- Size steps

TEST(RecoveryResultObject, StepsMoveTheNodeAndItsAncestors) {
    VolumeRef volume = VolumeSystemItem::initWithPath("/v", 10000, 100);
    auto node =
        SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, volume.get(), "p", 1000);
    volume->increaseTotalSize(1000);
    RecoveryResultObject result;
    result.addTask(*node, 200, true);
    result.updateSizeWith(0.5);
    EXPECT_EQ(node->gettotalsize(), 600);
    EXPECT_EQ(volume->gettotalsize(), 600);
    result.updateSizeWith(1.0);
    EXPECT_EQ(node->gettotalsize(), 200);
    EXPECT_EQ(volume->gettotalsize(), 200);
    // Going back grows the ancestors again.
    result.updateSizeWith(0.25);
    EXPECT_EQ(node->gettotalsize(), 800);
    EXPECT_EQ(volume->gettotalsize(), 800);

    RecoveryResultObject local;
    local.addTask(*node, 0, false);
    local.updateSizeWith(1.0);
    EXPECT_EQ(node->gettotalsize(), 0);
    EXPECT_EQ(volume->gettotalsize(), 800);
}

// ---- The cleaner over a real folder whose "cache" subfolder is the cache

struct WindowStub : PurgeableSpaceCleanerWindow {
    std::vector<PurgeableAlertText> alerts;
    std::vector<PurgeableConfirmationText> asked;
    bool confirm = true;
    bool suppress = false;
    bool answerLater = false;
    std::function<void(bool, bool)> pending;

    void showPurgeableSpaceAlert(const PurgeableAlertText& text) override {
        alerts.push_back(text);
    }
    void askToFreeUpPurgeableSpace(const PurgeableConfirmationText& text,
                                   std::function<void(bool, bool)> answer) override {
        asked.push_back(text);
        if (answerLater) {
            pending = std::move(answer);
        } else {
            answer(confirm, suppress);
        }
    }
};

struct ListenerStub : PurgeableSpaceCleanerListener {
    std::vector<bool> states;
    std::vector<std::string> cleaned;
    void purgeableSpaceCleanerStateChanged(bool recovering) override {
        states.push_back(recovering);
    }
    void purgeableSpaceCleanerNotifyAboutPerformRecovery(
        VolumeSystemItem&, const std::vector<std::string>& paths) override {
        cleaned.insert(cleaned.end(), paths.begin(), paths.end());
    }
};

// Builds the tree a scan would make of what is below `path`.
void mirror(const std::string& path, FolderSystemItem* folder) {
    for (const auto& entry : fs::directory_iterator(path)) {
        std::string name = entry.path().filename().string();
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        if (S_ISDIR(info.st_mode)) {
            mirror(entry.path().string(), test::folder(folder, name));
        } else {
            test::file(folder, name, info.st_blocks * 512);
            folder->increaseTotalSize(info.st_blocks * 512);
        }
    }
}

std::int64_t childrenSum(const FolderSystemItem& folder) {
    std::int64_t sum = 0;
    for (const ItemRef& child : folder.childrenArray()) {
        sum += child->gettotalsize();
    }
    return sum;
}

class PurgeableSpaceCleanerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::MainQueue::shared().bindToCurrentThread();
        tree.file("cache/app/blob.bin", 120000);
        tree.file("cache/app/more/part.bin", 30000);
        tree.file("cache/fonts/index", 9000);
        tree.file("documents/letter.txt", 5000);
        PurgeableSpaceCleaner::Configuration configuration;
        configuration.service = &service;
        configuration.vanishingFolders = {tree.path("cache")};
        configuration.refreshInterval = 30ms;
        configuration.progressCheckInterval = 20ms;
        configuration.shrinkSteps = 3;
        configuration.shrinkStepInterval = 2ms;
        cleaner = PurgeableSpaceCleaner::create(configuration);
        cleaner->setListener(&listener);
        cleaner->setWindow(&window);
    }

    // A measurement started by the test reads the test's cache folder: it
    // ends before the folder goes.
    void TearDown() override {
        EXPECT_TRUE(runUntil([&] { return !cleaner->isMeasuring() && !cleaner->isProcessing(); }));
        cleaner.reset();
    }

    // The scanned volume, with a purgeable node of `purgeable` bytes.
    VolumeRef scannedVolume(std::int64_t purgeable, const std::string& path = {}) {
        VolumeRef volume = VolumeSystemItem::initWithPath(
            path.empty() ? tree.path() : path, std::int64_t{1} << 40, std::int64_t{1} << 30);
        if (path.empty()) {
            mirror(tree.path(), volume.get());
        }
        purgeableNode = SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, volume.get(),
                                                        "Purgeable", purgeable);
        volume->increaseTotalSize(purgeable);
        return volume;
    }

    std::int64_t currentEstimate() const {
        return static_cast<std::int64_t>(service.recoveryEstimate(tree.path()));
    }
    bool runUntil(const std::function<bool()>& done) {
        return platform::MainQueue::shared().runUntil(done, 10s);
    }
    bool freeUpEnded() { return listener.states.size() >= 2 || !window.alerts.empty(); }

    FolderSystemItem* cacheNode(VolumeSystemItem& volume) {
        return static_cast<FolderSystemItem*>(volume.getItemByFilePath(tree.path("cache")).get());
    }

    test::TempSettings settings;
    test::TempTree tree;
    platform::DiskSpaceRecoveryService service{{tree.path("cache")}};
    WindowStub window;
    ListenerStub listener;
    std::shared_ptr<PurgeableSpaceCleaner> cleaner;
    boost::intrusive_ptr<SpecialSystemItem> purgeableNode;
};

TEST_F(PurgeableSpaceCleanerTest, MeasuringBringsTheNodeToTheEstimate) {
    VolumeRef volume = scannedVolume(1);
    VolumeRef other = VolumeSystemItem::initWithPath("/elsewhere", 1, 1);  // no purgeable node
    std::int64_t estimate = currentEstimate();
    ASSERT_GT(estimate, 150000);
    cleaner->updateValueFor(other.get());
    cleaner->updateValueFor(volume->getItemByFilePath(tree.path("documents/letter.txt")).get());
    cleaner->updateValueFor(volume.get());
    ASSERT_TRUE(runUntil([&] { return !cleaner->isMeasuring(); }));
    EXPECT_EQ(purgeableNode->gettotalsize(), estimate);
    EXPECT_EQ(volume->gettotalsize(), childrenSum(*volume));
    EXPECT_TRUE(listener.cleaned.empty());
}

TEST_F(PurgeableSpaceCleanerTest, ShrinkingTakesVanishedEntriesOutOfTheTree) {
    VolumeRef volume = scannedVolume(currentEstimate());
    std::int64_t cacheBefore = cacheNode(*volume)->gettotalsize();
    fs::remove_all(tree.path("cache/app"));
    cleaner->updateValueFor(volume.get());
    ASSERT_TRUE(runUntil([&] { return !cleaner->isMeasuring(); }));

    EXPECT_EQ(listener.cleaned, std::vector<std::string>{tree.path("cache/app")});
    FolderSystemItem* cache = cacheNode(*volume);
    ASSERT_EQ(cache->numberOfChildren(), 1u);
    EXPECT_EQ(cache->childAtIndex(0)->name(), "fonts");
    EXPECT_LT(cache->gettotalsize(), cacheBefore - 150000);
    EXPECT_EQ(purgeableNode->gettotalsize(), currentEstimate());
    EXPECT_EQ(volume->gettotalsize(), childrenSum(*volume));
}

TEST_F(PurgeableSpaceCleanerTest, FreeUpAfterConfirmationEmptiesTheCacheAndShrinksTheNode) {
    std::int64_t estimate = currentEstimate();
    VolumeRef volume = scannedVolume(estimate);
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    EXPECT_TRUE(cleaner->isProcessing());
    ASSERT_EQ(window.asked.size(), 1u);
    std::string name = volume->getDisplayName();
    EXPECT_NE(window.asked[0].informative.find("Everything inside \"" + tree.path("cache") + "\""),
              std::string::npos)
        << "the sheet names the folder it empties";

    ASSERT_TRUE(runUntil([&] { return freeUpEnded(); }));
    EXPECT_EQ(listener.states, (std::vector<bool>{true, false}));
    ASSERT_EQ(window.alerts.size(), 1u);
    EXPECT_EQ(window.alerts[0].message, "The space was freed up for " + name);
    EXPECT_EQ(window.alerts[0].informative, "Purgeable space was freed up.");
    EXPECT_FALSE(cleaner->isProcessing());
    EXPECT_TRUE(fs::is_empty(tree.path("cache")));
    EXPECT_TRUE(fs::exists(tree.path("documents/letter.txt")));
    EXPECT_EQ(purgeableNode->gettotalsize(), 0);
    EXPECT_EQ(cacheNode(*volume)->numberOfChildren(), 0u);
    EXPECT_EQ(listener.cleaned.size(), 2u);
    EXPECT_EQ(volume->gettotalsize(), childrenSum(*volume));
}

TEST_F(PurgeableSpaceCleanerTest, SecondRequestWhileOneRunsIsRefused) {
    VolumeRef volume = scannedVolume(currentEstimate());
    window.answerLater = true;
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    ASSERT_EQ(window.alerts.size(), 1u);
    EXPECT_EQ(window.alerts[0].message,
              "The operation for freeing up purgeable space is not completed.\nWait until the "
              "process is finished.");
    EXPECT_EQ(window.asked.size(), 1u);

    window.pending(true, false);  // the first one goes on
    ASSERT_TRUE(runUntil([&] { return listener.states.size() == 2; }));
    EXPECT_TRUE(fs::is_empty(tree.path("cache")));
    EXPECT_EQ(window.alerts.size(), 2u);
}

TEST_F(PurgeableSpaceCleanerTest, WithTheAlertTurnedOffTheFreeUpStartsAtOnce) {
    Settings::setShowCleanPergeableSpaceAlert(false);
    VolumeRef volume = scannedVolume(currentEstimate());
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    EXPECT_TRUE(window.asked.empty());
    ASSERT_EQ(listener.states, std::vector<bool>{true});
    ASSERT_TRUE(runUntil([&] { return freeUpEnded(); }));
    EXPECT_TRUE(fs::is_empty(tree.path("cache")));
}

TEST_F(PurgeableSpaceCleanerTest, CancelledSheetChangesNothingAndTheCheckBoxTurnsTheSheetOff) {
    std::int64_t estimate = currentEstimate();
    VolumeRef volume = scannedVolume(estimate);
    window.confirm = false;
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    EXPECT_FALSE(cleaner->isProcessing());
    EXPECT_TRUE(listener.states.empty());
    EXPECT_EQ(service.recoveryEstimate(tree.path()), static_cast<std::uint64_t>(estimate));
    EXPECT_TRUE(Settings::showCleanPergeableSpaceAlert());

    window.confirm = true;
    window.suppress = true;
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    EXPECT_EQ(window.asked.size(), 2u);
    EXPECT_FALSE(Settings::showCleanPergeableSpaceAlert());
    test::TempSettings::forgetAll();
    EXPECT_FALSE(Settings::showCleanPergeableSpaceAlert());  // stored, not only cached
    ASSERT_TRUE(runUntil([&] { return freeUpEnded(); }));
}

TEST_F(PurgeableSpaceCleanerTest, VolumeWithoutFreeSpaceFiguresFailsAndKeepsItsSize) {
    VolumeRef volume = scannedVolume(4096, tree.path("unmounted"));
    Settings::setShowCleanPergeableSpaceAlert(false);
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    ASSERT_EQ(window.alerts.size(), 1u);
    EXPECT_EQ(window.alerts[0].message, "The space could not be freed up for unmounted");
    EXPECT_EQ(window.alerts[0].informative, "Undefined volume free size");
    EXPECT_FALSE(cleaner->isProcessing());
    EXPECT_EQ(purgeableNode->gettotalsize(), 4096);
    EXPECT_TRUE(fs::exists(tree.path("cache/app/blob.bin")));
}

TEST_F(PurgeableSpaceCleanerTest, ACacheThatHoldsTheHomeIsRefusedBeforeTheSheet) {
    // The whole test folder as the cache, with the home inside it.
    platform::DiskSpaceRecoveryService homeAsCache({tree.path()},
                                                   {tree.path("documents"), ::getuid()});
    PurgeableSpaceCleaner::Configuration configuration;
    configuration.service = &homeAsCache;
    auto refusing = PurgeableSpaceCleaner::create(configuration);
    refusing->setListener(&listener);
    refusing->setWindow(&window);
    VolumeRef volume = scannedVolume(200000);
    refusing->freeUpPurgeableSpace(purgeableNode.get());

    EXPECT_TRUE(window.asked.empty()) << "nothing to confirm";
    ASSERT_EQ(window.alerts.size(), 1u);
    EXPECT_EQ(window.alerts[0].informative, "The cache folder \"" + tree.path() +
                                                "\" is not emptied: it holds your home folder.");
    EXPECT_FALSE(refusing->isProcessing());
    EXPECT_TRUE(fs::exists(tree.path("documents/letter.txt")));
    EXPECT_TRUE(fs::exists(tree.path("cache/app/blob.bin")));
    EXPECT_EQ(purgeableNode->gettotalsize(), 200000);
}

TEST_F(PurgeableSpaceCleanerTest, WithoutAWindowNothingHappens) {
    VolumeRef volume = scannedVolume(100);
    cleaner->setWindow(nullptr);
    cleaner->freeUpPurgeableSpace(purgeableNode.get());
    EXPECT_FALSE(cleaner->isProcessing());
    EXPECT_TRUE(fs::exists(tree.path("cache/app/blob.bin")));
}

TEST_F(PurgeableSpaceCleanerTest, CachedVolumesAreRefreshedOnlyWhileActive) {
    VolumeRef volume = scannedVolume(1);
    cleaner->startObserveFor(volume.get());
    cleaner->applicationDidBecomeActive();
    ASSERT_TRUE(runUntil([&] { return purgeableNode->gettotalsize() == currentEstimate(); }));
    tree.file("cache/new/arrived.bin", 64000);
    std::int64_t grown = currentEstimate();
    ASSERT_TRUE(runUntil([&] { return purgeableNode->gettotalsize() == grown; }));

    cleaner->applicationDidResignActive();
    ASSERT_TRUE(runUntil([&] { return !cleaner->isMeasuring(); }));
    auto last = cleaner->lastUpdateDate();
    tree.file("cache/new/later.bin", 64000);
    platform::MainQueue::shared().runUntil([] { return false; }, 150ms);
    EXPECT_EQ(cleaner->lastUpdateDate(), last);
    EXPECT_EQ(purgeableNode->gettotalsize(), grown);
}

TEST_F(PurgeableSpaceCleanerTest, ScanMeasureAnswersTheEstimate) {
    auto operation = PurgeableSpaceGetOperation::initWithUrl(tree.path(), service);
    std::promise<void> done;
    operation->performWithCompletion([&] { done.set_value(); });
    ASSERT_EQ(done.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_EQ(operation->purgeableSpaceValue(), currentEstimate());
    // The queue hands its spent block to the main queue, which lets it go.
    std::weak_ptr<PurgeableSpaceGetOperation> gone = operation;
    operation.reset();
    EXPECT_TRUE(runUntil([&] { return gone.expired(); }));
}

}  // namespace
}  // namespace korvex
