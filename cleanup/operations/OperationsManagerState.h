#pragma once

#include <cstdint>
#include <variant>

namespace korvex {

struct OperationInProgress {
    double progress = 0.0;
    bool operator==(const OperationInProgress&) const = default;
};
struct OperationCompleted {
    long succeeded = 0;
    std::int64_t totalSize = 0;
    long failed = 0;
    bool operator==(const OperationCompleted&) const = default;
};
struct OperationInReview {
    bool operator==(const OperationInReview&) const = default;
};

// The variant's index is its tag: 0 in progress, 1 completed, 2 review.
using OperationsManagerState =
    std::variant<OperationInProgress, OperationCompleted, OperationInReview>;

}  // namespace korvex
