#pragma once

#include <optional>
#include <string>
#include <variant>

namespace korvex {

// What went wrong with one item: the domain says whose code it is ("posix"
// for an errno value).
struct OperationError {
    std::string domain;
    long code = 0;
    std::string description;
    bool operator==(const OperationError&) const = default;
};

// A success the user should still hear about, such as a renamed copy.
struct WarningMessage {
    std::string title;
    std::string message;
    bool operator==(const WarningMessage&) const = default;
};

struct OperationSucceeded {
    std::optional<WarningMessage> warning;
    bool operator==(const OperationSucceeded&) const = default;
};
struct OperationFailed {
    OperationError error;
    bool operator==(const OperationFailed&) const = default;
};
// Not processed yet.
struct OperationAwaitingReview {
    bool operator==(const OperationAwaitingReview&) const = default;
};

// The outcome of one item; the variant's index is its tag (0 success,
// 1 failed, 2 review).
using OperationResult = std::variant<OperationSucceeded, OperationFailed, OperationAwaitingReview>;

inline bool isSuccess(const OperationResult& r) {
    return std::holds_alternative<OperationSucceeded>(r);
}
inline bool isFailed(const OperationResult& r) {
    return std::holds_alternative<OperationFailed>(r);
}
inline const OperationError* failureOf(const OperationResult& r) {
    const auto* failed = std::get_if<OperationFailed>(&r);
    return failed ? &failed->error : nullptr;
}
inline const WarningMessage* warningOf(const OperationResult& r) {
    const auto* ok = std::get_if<OperationSucceeded>(&r);
    return ok && ok->warning ? &*ok->warning : nullptr;
}

// A failure from an errno value, described by the system.
OperationError posixError(int errnoValue);
// A failure with a message of our own in the posix domain.
OperationError posixError(int errnoValue, std::string description);

}  // namespace korvex
