#pragma once

#include "diagram/DiagramHost.h"

#include <QPointer>
#include <QWidget>

namespace korvex {

class CSTreeController;

// The window's side of the diagram: the file manager, the preview, the
// scan of the selected target, the favourites and purgeable space, and the
// rows selected in the side lists.
class DiagramWindowBridge : public DiagramHost {
  public:
    DiagramWindowBridge(CSTreeController& controller, QWidget* window);

    void setListSelection(ItemList selection) { mListSelection = std::move(selection); }

    void revealItem(const FileSystemItem& item) override;
    void showItemProperties(const FileSystemItem& item) override;
    void previewItem(const FileSystemItem& item) override;
    void rescanSelectedTarget() override;
    bool isScanning() const override;
    std::int64_t scanningState() const override;
    bool hintAllowed() const override;
    bool isReviewWindowVisible() const override;
    ItemList selectedListItems() const override { return mListSelection; }
    void freeUpPurgeableSpace(FileSystemItem& item) override;
    bool isFolderFavorite(const std::string& path) const override;
    void setFolderFavorite(const std::string& path, bool favorite) override;
    void readAboutInaccessibleSpace() override;

  private:
    CSTreeController& mController;
    QPointer<QWidget> mWindow;
    ItemList mListSelection;
};

}  // namespace korvex
