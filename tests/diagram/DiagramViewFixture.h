#pragma once

#include "diagram/DiagramCollectionActions.h"
#include "diagram/DiagramHost.h"
#include "diagram/RadialController.h"
#include "diagram/RadialView.h"
#include "diagram/RingRadii.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/MemoryTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace korvex::test {

// Records what the diagram asks of its window.
class RecordingHost : public DiagramHost {
  public:
    void revealItem(const FileSystemItem& item) override {
        calls.push_back("reveal " + item.fullPath());
    }
    void showItemProperties(const FileSystemItem& item) override {
        calls.push_back("properties " + item.fullPath());
    }
    void previewItem(const FileSystemItem& item) override {
        calls.push_back("preview " + item.fullPath());
    }
    void rescanSelectedTarget() override { calls.push_back("rescan"); }
    bool isScanning() const override { return scanning; }
    std::int64_t scanningState() const override { return state; }
    bool hintAllowed() const override { return true; }
    bool isReviewWindowVisible() const override { return false; }
    ItemList selectedListItems() const override { return listSelection; }
    void freeUpPurgeableSpace(FileSystemItem&) override { calls.push_back("purge"); }
    bool isFolderFavorite(const std::string& path) const override { return path == favorite; }
    void setFolderFavorite(const std::string& path, bool on) override {
        calls.push_back((on ? "favorite " : "unfavorite ") + path);
    }
    void readAboutInaccessibleSpace() override { calls.push_back("read about"); }

    std::vector<std::string> calls;
    bool scanning = false;
    std::int64_t state = 0;
    ItemList listSelection;
    std::string favorite;
};

// A collection that marks the tree as the real one does.
class MarkingCollection : public DiagramCollectionActions {
  public:
    bool addItemsToCollection(const ItemList& items) override {
        for (const ItemRef& item : items) {
            item->setCollected(true);
        }
        return true;
    }
    void removeFromCollectionItem(const ItemRef& item) override { item->setCollected(false); }
    void perfromRemoveWithItems(const ItemList& items) override { removed = items; }
    void performMoveToFolderWithItems(const ItemList&) override {}
    void performCopyToFolderWithItems(const ItemList&) override {}
    bool isProcessingFiles() const override { return false; }
    void setIsDragging(bool on) override { dragging = on; }
    void processRemovedPaths(const std::vector<std::string>& paths) override {
        takenByDrop = paths;
    }

    ItemList removed;
    bool dragging = false;
    std::vector<std::string> takenByDrop;
};

// A shown 600 × 600 diagram view over a tree built in memory:
//   /data: docs (x 3000, y 2000), big 4000, mid 990, tiny 10
class DiagramView : public ::testing::Test {
  protected:
    static constexpr int kSide = 600;

    void SetUp() override {
        RadialController::setReferenceAngle(M_PI / 2);
        view = std::make_unique<RadialView>(controller);
        view->resize(kSide, kSide);
        view->show();
        controller.setHost(&host);
    }
    void TearDown() override {
        view.reset();
        RadialController::setReferenceAngle(M_PI / 2);
    }

    FolderRef sampleTree() {
        FolderRef root = memoryRoot("/data");
        docs = folder(root.get(), "docs");
        file(docs, "x", 3000);
        file(docs, "y", 2000);
        file(root.get(), "big", 4000);
        file(root.get(), "mid", 990);
        file(root.get(), "tiny", 10);
        return root;
    }
    void showTree(const FolderRef& root) {
        root->calctotalsize();
        root->sortChildrenBySize(true);
        controller.setRoot(root, true);
    }
    FolderRef showSample() {
        FolderRef root = sampleTree();
        showTree(root);
        return root;
    }
    // The view point at `share` of the way through ring `level`'s width and
    // at `fraction` of the circle.
    QPoint pointOn(int level, double fraction, double share = 0.5) const {
        const double inner = level == 0 ? 0 : controller.radiusOf(level - 1);
        const double r = inner + (controller.radiusOf(level) - inner) * share;
        return exactPoint(r, fraction).toPoint();
    }
    QPointF exactPoint(double radius, double fraction) const {
        const double theta = RadialController::referenceAngle() - 2 * M_PI * fraction;
        const QPointF c = controller.center();
        return {c.x() + radius * std::cos(theta), c.y() - radius * std::sin(theta)};
    }
    ItemRef child(const FolderRef& root, const char* name) const {
        for (const ItemRef& item : root->childrenArray()) {
            if (item->name() == name) {
                return item;
            }
        }
        return nullptr;
    }

    TempSettings settings;
    RecordingHost host;
    RadialController controller;
    std::unique_ptr<RadialView> view;
    FolderSystemItem* docs = nullptr;
};

}  // namespace korvex::test
