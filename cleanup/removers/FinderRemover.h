#pragma once

#include "cleanup/elevated/BashScript.h"
#include "cleanup/elevated/BashTaskResult.h"
#include "cleanup/removers/ElevatedRemovalContext.h"
#include "cleanup/removers/FinderRemoveDataInfo.h"
#include "cleanup/removers/FinderRemoverListener.h"

#include <memory>
#include <vector>

namespace korvex {

// Removes its items once, with a script that runs with administrator
// rights, then tells which of them are gone. Lives on the main thread.
class FinderRemover : public std::enable_shared_from_this<FinderRemover> {
  public:
    FinderRemover(RootFileRemoveItems sourceItems, ElevatedRemovalContext context);
    virtual ~FinderRemover() = default;
    FinderRemover(const FinderRemover&) = delete;
    FinderRemover& operator=(const FinderRemover&) = delete;

    void setListener(std::weak_ptr<FinderRemoverListener> listener) {
        mListener = std::move(listener);
    }
    // Runs once; later calls do nothing.
    void start();

    bool isUsed() const { return mIsUsed; }
    const RootFileRemoveItems& sourceItems() const { return mSourceItems; }
    const std::vector<FinderRemoveDataInfo>& removeDataInfos() const { return mRemoveDataInfos; }
    // The items that could not be followed, so were left alone.
    const RootFileRemoveItems& removeErrors() const { return mRemoveErrors; }

  protected:
    // The script that removes exactly these paths.
    virtual BashScriptRef removalScript(const std::vector<std::string>& paths) const = 0;
    const ElevatedRemovalContext& context() const { return mContext; }

  private:
    void scriptEnded(const BashTaskResult& result);
    void finish();

    bool mIsUsed = false;
    std::weak_ptr<FinderRemoverListener> mListener;
    RootFileRemoveItems mSourceItems;
    ElevatedRemovalContext mContext;
    std::vector<FinderRemoveDataInfo> mRemoveDataInfos;
    RootFileRemoveItems mRemoveErrors;
};

}  // namespace korvex
