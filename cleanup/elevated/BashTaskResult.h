#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr const char* kBashTaskErrorDomain = "com.halvorn.bashtask";
// Failures of the system calls around a task (writing the script, starting
// bash); the code is the errno value.
inline constexpr const char* kBashTaskPosixErrorDomain = "posix";

// Codes of the task's own errors in the bash task domain.
enum BashTaskErrorCode : long {
    // The administrator prompt was dismissed or refused.
    BashTaskUserCanceledError = -128,
    // The privileged runner ended before the job was done.
    BashTaskRunnerStoppedError = -2,
};

struct BashTaskError {
    std::string domain;
    long code = 0;
    std::string description;
    bool operator==(const BashTaskError&) const = default;
};

struct BashTaskResult {
    // The script ran to its end.
    bool taskPerformed = false;
    bool timedOut = false;
    std::optional<std::vector<BashTaskError>> errors;
};

// The error blocks of a script's output: a line "HVERROR;1;<number>" opens
// one, the lines up to "HVERROREND" are its message. A block without its end
// marker takes the rest of the output.
std::vector<BashTaskError> errorsInScriptOutput(std::string_view output);

}  // namespace korvex
