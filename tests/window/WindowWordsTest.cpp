#include "window/MainWindowFixture.h"

#include "cleanup/collection/views/CollectionPanel.h"
#include "platform/dispatch/NotificationCenter.h"
#include "scan/format/SizeFormatter.h"
#include "scan/model/ScanNotifications.h"

#include <gtest/gtest.h>
#include <QPushButton>

namespace korvex {
namespace {

class WindowWordsTest : public MainWindowTest {
  protected:
    bool shown(const QWidget* widget) { return widget->isVisibleTo(&window); }
    QString itemsRead() const { return window.summaryPanel()->detailsLabel()->text(); }
};

TEST_F(WindowWordsTest, TheScanButtonsSayWhatTheyDoAndOnlyOneStartsAScan) {
    window.show();
    selectFolder(tree.path());
    // The overview's own button starts the first scan; neither the bar's nor
    // the Selected list's says "Start Scanning" beside it.
    EXPECT_TRUE(shown(views().overview->startButton()));
    EXPECT_FALSE(shown(views().startStopButton));
    EXPECT_FALSE(shown(views().collectionPanel->mainButton()));

    views().overview->startButton()->click();
    ASSERT_TRUE(controller().isProcessing());
    EXPECT_TRUE(shown(views().startStopButton));
    EXPECT_EQ(views().startStopButton->text(), "Stop");
    EXPECT_FALSE(shown(views().collectionPanel->mainButton()));
    // The figure beside the bar is labelled and measures what the bar does.
    platform::NotificationCenter::defaultCenter().post(scanNotifications::kUpdateProgress,
                                                       std::int64_t{12'345});
    EXPECT_EQ(views().mStatus->text(), QString::fromStdString(sizeString(12'345)) + " read");

    ASSERT_TRUE(waitForScans(1));
    EXPECT_EQ(views().startStopButton->text(), "Rescan");
    EXPECT_TRUE(shown(views().startStopButton));
    EXPECT_TRUE(shown(views().collectionPanel->mainButton()));
    EXPECT_EQ(views().collectionPanel->mainButton()->text(), "Review to Remove");
}

TEST_F(WindowWordsTest, ItemsReadBelongToTheShownTargetAndCountInTheSingular) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    EXPECT_EQ(itemsRead(), "7 items read");

    test::TempTree single;
    single.file("only.txt", 10);
    ASSERT_NO_FATAL_FAILURE(scanFolder(single.path(), 2));
    EXPECT_EQ(itemsRead(), "1 item read");

    // Back on the first folder: never the last scan's count.
    selectFolder(tree.path());
    EXPECT_NE(itemsRead(), "1 item read");
}

}  // namespace
}  // namespace korvex
