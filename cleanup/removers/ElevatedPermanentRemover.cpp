#include "cleanup/removers/ElevatedPermanentRemover.h"

namespace korvex {

void ElevatedPermanentRemover::send(ElevatedHelper& helper, std::vector<elevated::TargetItem> items,
                                    ElevatedHelper::Completion completion) const {
    helper.removePermanently(std::move(items), std::move(completion));
}

}  // namespace korvex
