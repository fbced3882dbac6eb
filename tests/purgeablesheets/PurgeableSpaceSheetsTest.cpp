#include "cleanup/purgeable/PurgeableSpaceTexts.h"
#include "cleanup/purgeable/sheets/PurgeableSpaceSheets.h"
#include "support/QtTestApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <optional>
#include <utility>

namespace korvex {
namespace {

const auto* const kApp = test::registerQtTestApplication<QApplication>("purgeable-sheets");

QMessageBox* openSheet(QWidget& window) {
    QCoreApplication::processEvents();
    return window.findChild<QMessageBox*>();
}

TEST(PurgeableSpaceSheets, ConfirmationAnswersTheButtonAndTheCheckBox) {
    QWidget window;
    window.show();
    PurgeableSpaceSheets sheets(&window);
    std::optional<std::pair<bool, bool>> answer;  // confirmed, suppress
    auto ask = [&] {
        sheets.askToFreeUpPurgeableSpace(
            purgeableTexts::confirmation(5000000, "Data", {"/home/me/.cache"}),
            [&](bool confirmed, bool suppress) { answer = std::pair(confirmed, suppress); });
        return openSheet(window);
    };

    QMessageBox* box = ask();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Free Up Purgeable Disk Space");
    EXPECT_TRUE(box->informativeText().contains("will free up 5 MB on the disk Data."));
    EXPECT_TRUE(
        box->informativeText().contains("Everything inside \"/home/me/.cache\" (5 MB) will be"))
        << "the sheet names the folder it empties";
    ASSERT_NE(box->checkBox(), nullptr);
    box->checkBox()->setChecked(true);
    ASSERT_EQ(box->buttons().size(), 2);
    box->defaultButton()->click();
    EXPECT_EQ(answer, std::pair(true, true));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    answer.reset();
    box = ask();
    ASSERT_NE(box, nullptr);
    box->escapeButton()->click();
    EXPECT_EQ(answer, std::pair(false, false));
}

TEST(PurgeableSpaceSheets, AlertHasOneButtonAndNoSheetOutlivesItsWindow) {
    auto* window = new QWidget;
    window->show();
    PurgeableSpaceSheets sheets(window);
    sheets.showPurgeableSpaceAlert(purgeableTexts::freedUp("Data"));
    QMessageBox* box = openSheet(*window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "The space was freed up for Data");
    EXPECT_EQ(box->buttons().size(), 1);
    delete window;

    bool answered = false;
    bool confirmed = true;
    sheets.askToFreeUpPurgeableSpace(purgeableTexts::confirmation(1, "Data", {}),
                                     [&](bool yes, bool) {
                                         answered = true;
                                         confirmed = yes;
                                     });
    EXPECT_TRUE(answered);
    EXPECT_FALSE(confirmed);
    sheets.showPurgeableSpaceAlert(purgeableTexts::notCompleted());  // no window: nothing shown
}

}  // namespace
}  // namespace korvex
