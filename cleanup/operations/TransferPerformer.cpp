#include "cleanup/operations/TransferPerformer.h"

#include "platform/Localization.h"
#include "platform/fs/EntryExists.h"
#include "scan/format/PathUtils.h"

#include <cerrno>

namespace korvex {

namespace {

constexpr TransferPerformer::Texts kMoveTexts{
    "Cannot move the selected file because it doesn't exist", "The moved file was renamed",
    "The item \"%@\" have already exists in the chosen folder.\nThe processed file was moved "
    "with the new name \"%@\".",
    true};
constexpr TransferPerformer::Texts kCopyTexts{
    "Cannot copy the selected file because it doesn't exist", "The copied file was renamed",
    "The item \"%@\" have already exists in the chosen folder.\nThe processed file was copied "
    "with the new name \"%@\".",
    false};

}  // namespace

TransferPerformer::TransferPerformer(std::string destinationFolder, Transfer transfer, Texts texts,
                                     std::string queueLabel)
    : BaseOperationPerformer(std::move(destinationFolder)),
      mTransfer(std::move(transfer)),
      mTexts(texts),
      mQueue(std::move(queueLabel)) {}

MovePerformer::MovePerformer(std::string destinationFolder, Transfer move)
    : TransferPerformer(std::move(destinationFolder), std::move(move), kMoveTexts,
                        "com.halvorn.moveperformer") {}

CopyPerformer::CopyPerformer(std::string destinationFolder, Transfer copy)
    : TransferPerformer(std::move(destinationFolder), std::move(copy), kCopyTexts,
                        "com.halvorn.copyperformer") {}

void TransferPerformer::perform(const OperationItems& items,
                                std::weak_ptr<OperationPerformerListener> listener) {
    mTask = std::make_shared<OperationCountProgressTask>(static_cast<long>(items.size()), 1.0);
    begin(std::move(listener), {mTask});
    auto self = std::static_pointer_cast<TransferPerformer>(shared_from_this());
    mQueue.async([self, items] {
        std::vector<std::string> givenPaths;
        std::vector<std::string> removedPaths;
        for (const auto& item : items) {
            if (!isSuccess(item->state())) {
                if (auto given = self->transferItem(*item, givenPaths)) {
                    givenPaths.push_back(*given);
                    if (self->mTexts.removesSource)
                        removedPaths.push_back(item->path());
                }
            }
            self->mTask->increment();
        }
        self->reportCompletion(items, removedPaths, succeededPaths(items));
    });
}

std::optional<std::string> TransferPerformer::transferItem(
    OperationItem& item, const std::vector<std::string>& givenPaths) {
    const std::string& folder = *destinationFolder();
    const std::string name = item.name();
    if (!platform::somethingExistsAt(item.path())) {
        item.setState(OperationFailed{posixError(ENOENT, mTexts.missingSource)});
        return std::nullopt;
    }
    // Skips what exists in the folder, what this operation gave already and
    // what the transfer found taken when it tried.
    auto chooseName = [&](const std::vector<std::string>& taken) {
        std::vector<std::string> avoided = givenPaths;
        for (const std::string& takenName : taken)
            avoided.push_back(joinPathComponent(folder, takenName));
        return Utilmod::getNameForCopiedFile(name, folder, avoided);
    };
    auto transferred = mTransfer(item.path(), folder, chooseName);
    if (const auto* error = std::get_if<OperationError>(&transferred)) {
        item.setState(OperationFailed{*error});
        return std::nullopt;
    }
    const std::string& newName = std::get<std::string>(transferred);
    item.setCopied(folder, CopiedFileItem(item.systemItem(), newName));
    if (newName == name) {
        item.setState(OperationSucceeded{});
    } else {
        item.setState(OperationSucceeded{
            WarningMessage{mTexts.renamedTitle,
                           platform::fillPlaceholders(mTexts.renamedMessage, {name, newName})}});
    }
    return joinPathComponent(folder, newName);
}

}  // namespace korvex
