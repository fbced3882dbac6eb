#include "CollectionRecording.h"

#include "app/window/MainWindow.h"
#include "browse/contents/SelectionAvailability.h"
#include "cleanup/collection/views/RemoveListSheet.h"
#include "scan/tree/FolderSystemItem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace korvex {

namespace {

constexpr int kPollMs = 50;
constexpr int kGiveUpMs = 30000;
// Long enough for the sheet to lay out and the lists to repaint.
constexpr int kSettleMs = 500;
// The diagram shrinks the removed items away for a second; the totals follow
// at its end.
constexpr int kCutSettleMs = 1300;

// Runs `then` once `ready` holds, polling; quits with 1 when it never does.
void whenReady(QObject* owner, std::function<bool()> ready, std::function<void()> then) {
    auto* timer = new QTimer(owner);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, owner, [=] {
        if (ready()) {
            timer->deleteLater();
            timer->stop();
            QTimer::singleShot(kSettleMs, owner, then);
        } else if (clock->elapsed() > kGiveUpMs) {
            timer->stop();
            std::fprintf(stderr, "korvex-windowshot: the collection never got ready\n");
            QApplication::exit(1);
        }
    });
    timer->start(kPollMs);
}

// The window's area of the screen, so that the sheet over it is in the picture.
void saveScreenOf(MainWindow& window, const QString& out) {
    const QRect area = window.frameGeometry();
    const bool saved =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(out);
    QApplication::exit(saved ? 0 : 1);
}

ItemList biggestChildren(const ItemRef& root, int count) {
    ItemList chosen;
    const auto* folder = dynamic_cast<const FolderSystemItem*>(root.get());
    if (!folder)
        return chosen;
    for (const ItemRef& child : folder->childrenArray()) {
        if (static_cast<int>(chosen.size()) == count)
            break;
        if (isItemSelectable(*child))
            chosen.push_back(child);
    }
    return chosen;
}

}  // namespace

std::optional<CollectionRecording> takeCollectionOptions(QStringList& args) {
    CollectionRecording recording;
    bool given = false;
    if (const qsizetype at = args.indexOf(QStringLiteral("--collect"));
        at >= 0 && at + 1 < args.size()) {
        recording.collect = args[at + 1].toInt();
        args.remove(at, 2);
        given = true;
    }
    if (const qsizetype at = args.indexOf(QStringLiteral("--copy-to"));
        at >= 0 && at + 1 < args.size()) {
        recording.copyTo = args[at + 1];
        args.remove(at, 2);
    }
    recording.dragging = args.removeAll(QStringLiteral("--dragging")) > 0;
    recording.review = args.removeAll(QStringLiteral("--review")) > 0;
    recording.remove = args.removeAll(QStringLiteral("--remove")) > 0;
    recording.review = recording.review || recording.remove || !recording.copyTo.isEmpty();
    given = given || recording.dragging || recording.review;
    return given ? std::optional(recording) : std::nullopt;
}

void recordCollection(MainWindow& window, const CollectionRecording& recording,
                      const QString& out) {
    CSTreeController& controller = window.treeController();
    DoCollectionController& collection = controller.collection();
    collection.addItemsToCollection(
        biggestChildren(controller.radialController().root(), recording.collect));
    if (recording.dragging)
        collection.setIsDragging(true);
    if (!recording.review) {
        QTimer::singleShot(kSettleMs, &window, [&window, out] { saveScreenOf(window, out); });
        return;
    }
    CollectionWindowViews& views = controller.collectionViews();
    const bool run = recording.remove || !recording.copyTo.isEmpty();
    if (!recording.copyTo.isEmpty()) {
        collection.actionTypeMenuController().changeActionTypeTo(CollectionAction::copy);
        views.setFolderChooser([folder = QFile::encodeName(recording.copyTo).toStdString()](
                                   CollectionAction, auto answer) { answer(folder); });
    }
    collection.onMainActionButtonPressed();
    whenReady(
        &window, [&views] { return views.reviewSheet() && views.reviewSheet()->isVisible(); },
        [&window, &views, run, out] {
            if (!run) {
                saveScreenOf(window, out);
                return;
            }
            views.reviewSheet()->actionButton()->click();
            whenReady(
                &window,
                [&views] {
                    RemoveListSheet* sheet = views.reviewSheet();
                    return sheet && sheet->closeButton()->isVisible();
                },
                [&window, &views, out] {
                    views.reviewSheet()->detailsButton()->setChecked(true);
                    // The screen holds what was painted: let the details and
                    // the settled totals paint.
                    QTimer::singleShot(kCutSettleMs, &window,
                                       [&window, out] { saveScreenOf(window, out); });
                });
        });
}

}  // namespace korvex
