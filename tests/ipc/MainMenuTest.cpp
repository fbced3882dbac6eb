#include "app/menu/MainMenuController.h"
#include "app/menu/QActionMenuItems.h"

#include <QAction>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvex {
namespace {

using Kind = MainMenuItem::Kind;
using Action = MainMenuAction;

// A controller that can act on a fixed set of codes and writes down what it did.
class Performer : public MainMenuActionPerformer {
  public:
    Performer(std::string name, std::set<Action> codes, std::vector<std::string>& log)
        : mName(std::move(name)), mCodes(std::move(codes)), mLog(log) {}
    bool canPerformMainMenuAction(Action code, const MainMenuItem&) override {
        asked.push_back(code);
        return mCodes.count(code) != 0;
    }
    void performMainMenuAction(Action code) override {
        mLog.push_back(mName + ":" + std::to_string(static_cast<int>(code)));
    }
    std::vector<Action> asked;

  private:
    std::string mName;
    std::set<Action> mCodes;
    std::vector<std::string>& mLog;
};

class Panel : public CategoryListPanel {
  public:
    bool isCategoryListCollapsed() const override { return collapsed; }
    void toggleCategoryListWidth() override { collapsed = !collapsed; }
    bool collapsed = false;
};

MainMenuItem item(std::string identifier, Kind kind = Kind::Ordinary) {
    return MainMenuItem{std::move(identifier), "title", kind};
}

class MainMenu : public ::testing::Test {
  protected:
    bool enabled(MainMenuItem menuItem) { return menu.validateMenuItem(menuItem); }

    MainMenuController menu;
    std::vector<std::string> log;
};

TEST_F(MainMenu, ItemsAreEnabledOnlyWhenSomeControllerCanAct) {
    for (const char* id : {"copyToFolder", "moveToFolder", "remove", "deselectAll", "find"}) {
        EXPECT_FALSE(enabled(item(id))) << id;
    }
    Performer collection("collection", {Action::CopyToFolder, Action::Remove}, log);
    Performer volumes("volumes", {Action::ShowInFileManager, Action::Information, Action::Preview},
                      log);
    menu.addDelegateToArray(&collection);
    menu.addDelegateToArray(&volumes);

    EXPECT_TRUE(enabled(item("copyToFolder")));
    EXPECT_TRUE(enabled(item("remove")));
    EXPECT_FALSE(enabled(item("moveToFolder")));
    EXPECT_FALSE(enabled(item("find")));
    EXPECT_TRUE(enabled(item("", Kind::ShowInFileManager)));
    EXPECT_TRUE(enabled(item("", Kind::Information)));
    EXPECT_TRUE(enabled(item("", Kind::Preview)));
    // Without its identifier the copy item cannot be routed.
    EXPECT_FALSE(enabled(item("", Kind::CopyToFolder)));
    EXPECT_FALSE(enabled(item("somethingElse")));
    EXPECT_FALSE(enabled(item("")));
    EXPECT_FALSE(enabled(item("", Kind::DeveloperTimeLimited)));
    EXPECT_TRUE(log.empty()) << "validation performs nothing";

    menu.removeDelegateFromArray(&collection);
    EXPECT_FALSE(enabled(item("copyToFolder")));
    menu.removeDelegateFromArray(&volumes);
}

TEST_F(MainMenu, EveryControllerThatCanActPerformsInRegistrationOrder) {
    Performer first("first", {Action::Remove}, log);
    Performer unable("unable", {}, log);
    Performer last("last", {Action::Remove, Action::Find}, log);
    menu.addDelegateToArray(&first);
    menu.addDelegateToArray(&unable);
    menu.addDelegateToArray(&last);
    menu.addDelegateToArray(&first);  // once only
    ASSERT_EQ(menu.delegates().size(), 3u);

    menu.doMainMenuItemAction(item("remove"));
    EXPECT_EQ(log, (std::vector<std::string>{"first:5", "last:5"}));
    EXPECT_EQ(unable.asked, std::vector<Action>{Action::Remove});

    log.clear();
    menu.doMainMenuItemAction(item("unknown"));
    menu.doMainMenuItemAction(item("", Kind::CopyToFolder));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(menu.performForSomeDelegateAction(Action::None, item("")));
    EXPECT_TRUE(menu.performForSomeDelegateAction(Action::Find, item("find")));
    EXPECT_EQ(log, std::vector<std::string>{"last:7"});
}

TEST_F(MainMenu, QtActionsAreValidatedAndRoutedThroughTheController) {
    Performer collection("collection", {Action::MoveToFolder}, log);
    menu.addDelegateToArray(&collection);
    Panel panel;
    panel.collapsed = true;
    menu.setCategoryListPanel(&panel);

    QAction move("Move to Folder…");
    move.setObjectName("moveToFolder");
    QAction find("Find");
    find.setObjectName("find");
    QAction category("Category List");
    QActionMenuItems::setKind(category, Kind::CategoryList);
    QAction separator;
    separator.setSeparator(true);

    EXPECT_EQ(QActionMenuItems::describe(move).identifier, "moveToFolder");
    EXPECT_EQ(QActionMenuItems::describe(category).kind, Kind::CategoryList);
    QActionMenuItems::validate(menu, QList<QAction*>{&move, &find, &category, &separator});
    EXPECT_TRUE(move.isEnabled());
    EXPECT_FALSE(find.isEnabled());
    EXPECT_TRUE(category.isEnabled());
    EXPECT_EQ(category.text(), "Expand Category List");

    QActionMenuItems::connect(menu, move);
    QActionMenuItems::connect(menu, category);
    move.trigger();
    category.trigger();
    EXPECT_EQ(log, std::vector<std::string>{"collection:4"});
    EXPECT_FALSE(panel.collapsed);
}

}  // namespace
}  // namespace korvex
