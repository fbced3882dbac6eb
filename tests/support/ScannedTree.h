#pragma once

#include "platform/dispatch/MainQueue.h"
#include "scan/model/BlockingScan.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace korvex::test {

// A real temporary folder, scanned once its files are made.
class ScannedTree {
  public:
    ScannedTree() { platform::MainQueue::shared().bindToCurrentThread(); }
    ScannedTree(const ScannedTree&) = delete;
    ScannedTree& operator=(const ScannedTree&) = delete;

    const TempTree& files() const { return mFiles; }
    FolderRef scan() {
        mRoot = runBlockingScan(mModel, mFiles.path(), nullptr).root;
        return mRoot;
    }
    const FolderRef& root() const { return mRoot; }
    // The node at `relative` below the scanned root.
    ItemRef node(std::string_view relative) const {
        return mRoot->getItemByFilePath(mFiles.path(relative));
    }

  private:
    TempTree mFiles;
    CModel mModel;
    FolderRef mRoot;
};

}  // namespace korvex::test
