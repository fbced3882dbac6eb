#pragma once

#include "cleanup/elevated/records/ElevatedRecords.h"
#include "platform/UniqueFd.h"
#include "platform/dispatch/MainQueue.h"

#include <sys/types.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

inline constexpr const char* kElevatedErrorDomain = "elevated";

// Why a request as a whole was not done.
enum ElevatedErrorCode : long {
    // pkexec's own exit statuses: the password prompt was dismissed, or the
    // user is not allowed.
    ElevatedPromptDismissed = 126,
    ElevatedNotAuthorized = 127,
    // No pkexec, no authentication agent, or no helper program.
    ElevatedUnavailable = -1,
    // The helper ended before it answered.
    ElevatedHelperStopped = -2,
    ElevatedTimedOut = -3,
    ElevatedCancelled = -4,
};

struct ElevatedFailure {
    long code = 0;
    std::string description;
    bool operator==(const ElevatedFailure&) const = default;
};

// The answer to one request: either a failure of the whole request (nothing
// was done), or one outcome per item, in the order they were given.
struct ElevatedReply {
    std::optional<ElevatedFailure> failure;
    std::vector<elevated::ItemOutcome> outcomes;
    // The helper stopped early at a cancel or a time-out; the outcomes tell
    // which items it did before.
    bool cancelled = false;
    bool timedOut = false;
};

// How the helper is started: the launcher command (the system's pkexec, or
// a stand-in in tests) followed by the helper program.
struct ElevatedLaunch {
    std::vector<std::string> launcher{"pkexec"};
    std::string helperPath = helperBesideThisProgram();
    std::chrono::seconds idle{300};

    // "korvex-elevated" in the folder of the running program.
    static std::string helperBesideThisProgram();
};

// The application's side of the administrator helper: started once through
// pkexec when the first request comes, so the user is asked for the
// password once; it serves one request after another over its pipes, ends
// on its own after an idle time, and ends with this object or this process.
// Lives on the main thread; completions are called there, once each.
class ElevatedHelper : public std::enable_shared_from_this<ElevatedHelper> {
  public:
    using Completion = std::function<void(const ElevatedReply&)>;
    using RequestId = std::uint64_t;
    using Timeout = std::optional<platform::MainQueue::Clock::duration>;

    static std::shared_ptr<ElevatedHelper> create(ElevatedLaunch launch = {});
    ~ElevatedHelper();
    ElevatedHelper(const ElevatedHelper&) = delete;
    ElevatedHelper& operator=(const ElevatedHelper&) = delete;

    RequestId moveToTrash(std::vector<elevated::TargetItem> items, std::string homeTrash,
                          Completion completion, Timeout timeout = std::nullopt);
    RequestId removePermanently(std::vector<elevated::TargetItem> items, Completion completion,
                                Timeout timeout = std::nullopt);
    // Stops the request: one still waiting is dropped, a running one is told
    // to stop between two entries and answers with what it did.
    void cancel(RequestId id);
    // Closes the helper's input, which ends it.
    void stop();

    bool running() const { return mPid.has_value(); }
    std::optional<pid_t> processId() const { return mPid; }

  private:
    struct Pending {
        elevated::Record request;
        Completion completion;
        std::optional<platform::MainQueue::TimerId> timer;
        bool sent = false;
        bool timedOut = false;
    };

    explicit ElevatedHelper(ElevatedLaunch launch) : mLaunch(std::move(launch)) {}
    RequestId enqueue(elevated::Record request, Completion completion, Timeout timeout);
    void launch();
    void sendNext();
    void received(std::uint64_t generation, const elevated::Record& record);
    void ended(std::uint64_t generation, int status, const std::string& errors);
    void stopRequest(RequestId id, bool timedOut);
    void finish(Pending pending, ElevatedReply reply);
    void failAll(const ElevatedFailure& failure);

    ElevatedLaunch mLaunch;
    std::deque<Pending> mQueue;  // the one sent, if any, is first
    std::optional<pid_t> mPid;
    platform::UniqueFd mInput;
    bool mReady = false;
    std::uint64_t mGeneration = 0;
    RequestId mNextId = 1;
};

// What pkexec's exit status and words mean for the user; nothing when the
// launcher did start the helper.
std::optional<ElevatedFailure> launchFailure(int status, const std::string& errors);

}  // namespace korvex
