#include "browse/preview/PreviewController.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvex {
namespace {

// A list that records the keys it receives, standing in for the list behind
// the preview.
class RecordingList : public QListWidget {
  public:
    using QListWidget::QListWidget;
    std::vector<int> keys;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        keys.push_back(event->key());
        QListWidget::keyPressEvent(event);
    }
};

class Controller : public ::testing::Test {
  protected:
    void SetUp() override {
        list = new RecordingList(&mainWindow);
        auto* layout = new QVBoxLayout(&mainWindow);
        layout->addWidget(list);
        mainWindow.show();
        list->setFocus();
        controller.setMainWindow(&mainWindow);
        a = tree.file("a.txt", 10);
        b = tree.file("b.txt", 20);
        c = tree.file("c.txt", 30);
    }

    void press(int key) {
        ASSERT_NE(controller.previewPanel(), nullptr);
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(controller.previewPanel(), &event);
    }

    test::TempTree tree;
    QWidget mainWindow;
    RecordingList* list = nullptr;
    PreviewController controller;
    std::string a, b, c;
};

TEST_F(Controller, NewItemsReplaceWhatAnOpenPanelShows) {
    controller.setPreviewItems({a, b});
    EXPECT_FALSE(controller.panelVisible());  // setting items alone opens nothing
    controller.showPreviewPanel();
    ASSERT_TRUE(controller.panelVisible());
    EXPECT_EQ(controller.previewPanel()->content().path, a);

    controller.setPreviewItem(c);
    EXPECT_TRUE(controller.panelVisible());
    EXPECT_EQ(controller.previewPanel()->content().path, c);
    EXPECT_EQ(controller.currentPreviewItemIndex(), 0);

    controller.setPreviewItems({});
    EXPECT_FALSE(controller.panelVisible());
}

TEST_F(Controller, NothingToShowOpensNothingAndClosingTwiceIsHarmless) {
    controller.showPreviewPanel();
    EXPECT_EQ(controller.previewPanel(), nullptr);
    controller.closePreviewPanel();
    EXPECT_FALSE(controller.panelVisible());

    controller.setPreviewItem(a);
    controller.showPreviewPanel();
    controller.closePreviewPanel();
    controller.closePreviewPanel();
    EXPECT_FALSE(controller.panelVisible());
}

TEST_F(Controller, SpaceAndEscapeCloseThePanel) {
    controller.setPreviewItem(a);
    for (int key : {Qt::Key_Space, Qt::Key_Escape}) {
        controller.showPreviewPanel();
        ASSERT_TRUE(controller.panelVisible());
        press(key);
        EXPECT_FALSE(controller.panelVisible());
    }
    EXPECT_TRUE(list->keys.empty());
}

TEST_F(Controller, OtherKeysReachTheListBehindThePanel) {
    list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list->setCurrentRow(0);
    controller.setPreviewItem(a);
    controller.showPreviewPanel();

    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(list->keys, (std::vector<int>{Qt::Key_Down, Qt::Key_Down}));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(controller.panelVisible());

    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    EXPECT_FALSE(controller.handleEvent(&release));
}

TEST_F(Controller, ArrowButtonsStepThroughSeveralItems) {
    controller.setPreviewItems({a, b, c});
    controller.showPreviewPanel();
    emit controller.previewPanel()->nextRequested();
    emit controller.previewPanel()->nextRequested();
    emit controller.previewPanel()->nextRequested();  // already at the last
    EXPECT_EQ(controller.currentPreviewItemIndex(), 2);
    EXPECT_EQ(controller.previewPanel()->content().path, c);
    emit controller.previewPanel()->previousRequested();
    EXPECT_EQ(controller.previewPanel()->content().path, b);
}

}  // namespace
}  // namespace korvex
