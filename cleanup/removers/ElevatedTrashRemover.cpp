#include "cleanup/removers/ElevatedTrashRemover.h"

namespace korvex {

void ElevatedTrashRemover::send(ElevatedHelper& helper, std::vector<elevated::TargetItem> items,
                                ElevatedHelper::Completion completion) const {
    // No time limit: the user may take a while over the password prompt.
    helper.moveToTrash(std::move(items), context().homeTrash, std::move(completion));
}

}  // namespace korvex
