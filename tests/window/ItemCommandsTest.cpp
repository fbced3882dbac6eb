#include "window/MainWindowFixture.h"

#include "browse/lists/FileListModel.h"
#include "browse/preview/PreviewController.h"
#include "diagram/DiagramContextMenuController.h"
#include "platform/desktop/FileManagerService.h"
#include "platform/desktop/FileUris.h"
#include "scan/tree/VolumeSystemItem.h"
#include "support/MemoryTree.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace korvex {
namespace {

// The window over a desktop where no file manager answers on the bus and the
// default handler only records the folders it is asked to open.
class ItemCommandsTest : public MainWindowTest {
  protected:
    ItemCommandsTest() : noBus(QDBusConnection(QStringLiteral("korvex-tests-no-bus"))) {
        noBus.setPathOpener(
            [this](const std::string& path, const platform::FileManagerService::Opened& done) {
                opened.push_back(path);
                done(handlerOpens);
            });
        platform::FileManagerService::replaceShared(&noBus);
        showSized({1280, 720});
        QApplication::setActiveWindow(&window);
    }
    ~ItemCommandsTest() override {
        PreviewController::sharedPreviewController().closePreviewPanel();
        platform::FileManagerService::replaceShared(nullptr);
    }

    FolderColumnView* column(int index) { return contents().folderColumns().column(index); }
    QAction* itemCommand(const QString& title) {
        for (QAction* action : window.menuActions()) {
            if (action->text() == title) {
                return action;
            }
        }
        return nullptr;
    }
    // How many of the three item commands are on.
    int itemCommandsEnabled() {
        return itemCommand("Show in File Manager")->isEnabled() +
               itemCommand("Preview")->isEnabled() + itemCommand("Properties")->isEnabled();
    }
    // A right click as the window system delivers it: press, then the menu.
    QMenu* rightClick(QAbstractItemView* view, const QModelIndex& row) {
        waitFor([view] { return view->isVisible(); }, 2s);
        const QPoint at = view->viewport()->mapTo(&window, view->visualRect(row).center());
        QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, at);
        QMenu* menu = nullptr;
        waitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); },
                2s);
        return menu;
    }
    static QStringList titlesOf(const QMenu& menu) {
        QStringList titles;
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator()) {
                titles << action->text();
            }
        }
        return titles;
    }
    static void choose(QMenu* menu, const QString& title) {
        for (QAction* action : menu->actions()) {
            if (action->text() == title) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << title.toStdString();
    }
    void pressInFocus(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &window, static_cast<Qt::Key>(key), modifiers);
    }

    platform::FileManagerService noBus;
    std::vector<std::string> opened;
    bool handlerOpens = true;
};

TEST_F(ItemCommandsTest, ItemCommandsActOnTheSelectedRowOfEachList) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    EXPECT_EQ(itemCommandsEnabled(), 0) << "nothing selected yet";

    clickRow(column(0), rowNamed(column(0), "notes \"quoted\".txt"));
    EXPECT_EQ(itemCommandsEnabled(), 3);
    pressInFocus(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(opened, std::vector<std::string>{tree.path()});

    // A folder shows in the folder that holds it, not its own contents.
    clickRow(column(0), rowNamed(column(0), "a"));
    pressInFocus(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(opened.back(), tree.path());

    pressInFocus(Qt::Key_Y, Qt::ControlModifier);
    ASSERT_TRUE(PreviewController::isVisible());
    EXPECT_EQ(PreviewController::sharedPreviewController().items(),
              std::vector<std::string>{tree.path("a")});
    PreviewController::sharedPreviewController().closePreviewPanel();
    QApplication::setActiveWindow(&window);

    QTest::mouseClick(&contents().biggestSwitch(), Qt::LeftButton);
    EXPECT_EQ(itemCommandsEnabled(), 0) << "the biggest files have a selection of their own";
    clickRow(&contents().biggestFilesView(), rowNamed(&contents().biggestFilesView(), "big.bin"));
    EXPECT_EQ(itemCommandsEnabled(), 3);
    pressInFocus(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened.back(), tree.path("a"));
}

TEST_F(ItemCommandsTest, WhenNothingCanShowTheItemTheUserIsTold) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    handlerOpens = false;
    clickRow(column(0), rowNamed(column(0), "a"));
    clickRow(column(1), rowNamed(column(1), "big.bin"));
    pressInFocus(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(opened, std::vector<std::string>{tree.path("a")});
    auto* alert = qobject_cast<QMessageBox*>(controller().currentAlert());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), "Cannot show \"big.bin\"");
    EXPECT_TRUE(alert->informativeText().contains(QString::fromStdString(tree.path("a"))));
    EXPECT_TRUE(alert->isVisible());
    alert->close();
}

TEST_F(ItemCommandsTest, EveryListRowOffersTheDiagramsMenu) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    DiagramContextMenuController& diagramMenu = views().radialView->menuController();
    auto expectDiagramMenuOf = [&](QAbstractItemView* list, const QString& name,
                                   const std::string& path) {
        QMenu* menu = rightClick(list, rowNamed(list, name));
        ASSERT_NE(menu, nullptr) << name.toStdString();
        const ItemRef node = controller().getItemByFilePath(path);
        ASSERT_NE(node, nullptr);
        QStringList expected;
        for (const auto& entry : diagramMenu.validateEntriesFor(node)) {
            if (entry.visible) {
                expected << QString::fromStdString(entry.title);
            }
        }
        EXPECT_EQ(titlesOf(*menu), expected);
        EXPECT_TRUE(expected.contains("Select")) << "a row's menu acts on the row";
        choose(menu, QStringLiteral("Show in File Manager"));
        EXPECT_EQ(opened.back(), platform::parentFolderOf(path));
    };

    expectDiagramMenuOf(column(0), QStringLiteral("empty"), tree.path("empty"));
    QTest::mouseClick(&contents().biggestSwitch(), Qt::LeftButton);
    expectDiagramMenuOf(&contents().biggestFilesView(), QStringLiteral("deep.txt"),
                        tree.path("a/b/c/deep.txt"));
    QTest::keyClicks(&contents().searchField(), QStringLiteral("notes"));
    QAbstractItemView* results = &contents().searchResultsView();
    ASSERT_TRUE(waitFor([&] { return results->isVisible() && results->model()->rowCount() == 1; }));
    expectDiagramMenuOf(results, QStringLiteral("notes \"quoted\".txt"),
                        tree.path("notes \"quoted\".txt"));

    // Its collection commands reach the collection.
    QMenu* menu = rightClick(results, results->model()->index(0, 0));
    ASSERT_NE(menu, nullptr);
    choose(menu, QStringLiteral("Select"));
    EXPECT_TRUE(
        controller().collection().isFilePathInCollection(tree.path("notes \"quoted\".txt")));
}

TEST_F(ItemCommandsTest, FreeSpaceCommandFollowsTheDiagramRoot) {
    ASSERT_NO_FATAL_FAILURE(scanTree());
    QMenu* view = nullptr;
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->text() == "&View") {
            view = menu->menu();
        }
    }
    ASSERT_NE(view, nullptr);
    emit view->aboutToShow();
    EXPECT_FALSE(window.freeSpaceAction().isEnabled()) << "a folder shows no free space";

    VolumeRef volume = VolumeSystemItem::initWithPath("/vol", 20000, 10000);
    test::file(volume.get(), "a", 6000);
    volume->calctotalsize();
    RadialController& diagram = controller().radialController();
    diagram.setRoot(volume, true);
    emit view->aboutToShow();
    ASSERT_TRUE(window.freeSpaceAction().isEnabled());
    EXPECT_FALSE(window.freeSpaceAction().isChecked());
    window.freeSpaceAction().trigger();
    EXPECT_TRUE(diagram.drawsFreeSector());
    EXPECT_TRUE(window.freeSpaceAction().isChecked());
    ASSERT_TRUE(waitFor([&] { return !diagram.isAnimating(); }, 2s));
    window.freeSpaceAction().trigger();
    EXPECT_FALSE(diagram.drawsFreeSector());
}

}  // namespace
}  // namespace korvex
