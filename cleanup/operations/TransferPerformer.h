#pragma once

#include "cleanup/operations/BaseOperationPerformer.h"
#include "cleanup/operations/FileOperations.h"
#include "platform/dispatch/SerialQueue.h"

namespace korvex {

// Moves or copies the items, one at a time on a queue of its own, into the
// destination folder; a name taken there, even one taken by someone else
// while the item was on its way, gets a free numbered one and the item a
// warning saying so.
class TransferPerformer : public BaseOperationPerformer {
  public:
    using Transfer = FileOperations::Transfer;
    // The texts that differ between moving and copying.
    struct Texts {
        const char* missingSource;
        const char* renamedTitle;
        const char* renamedMessage;  // "%@" the old name, then the new one
        bool removesSource;
    };

    TransferPerformer(std::string destinationFolder, Transfer transfer, Texts texts,
                      std::string queueLabel);

    void perform(const OperationItems& items,
                 std::weak_ptr<OperationPerformerListener> listener) override;

  private:
    // Answers the full path the item was given, when it succeeded.
    std::optional<std::string> transferItem(OperationItem& item,
                                            const std::vector<std::string>& givenPaths);

    const Transfer mTransfer;
    const Texts mTexts;
    platform::SerialQueue mQueue;
    std::shared_ptr<OperationCountProgressTask> mTask;
};

class MovePerformer : public TransferPerformer {
  public:
    MovePerformer(std::string destinationFolder, Transfer move);
};

class CopyPerformer : public TransferPerformer {
  public:
    CopyPerformer(std::string destinationFolder, Transfer copy);
};

}  // namespace korvex
