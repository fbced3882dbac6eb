#include "cleanup/elevated/ElevatedHelper.h"

#include "platform/process/PipedChild.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <thread>

namespace korvex {

namespace {

using elevated::Record;
using elevated::RecordKind;

const char* const kNoAgent =
    "Administrator rights are not available: no polkit authentication agent is running";

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string lastLine(std::string text) {
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    const std::size_t start = text.rfind('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
}

// Reads the helper's answers until its output ends, then its words and its
// exit status, and hands each to the main queue.
void readUntilEnd(std::weak_ptr<ElevatedHelper> weak, std::uint64_t generation, pid_t pid,
                  platform::UniqueFd output, platform::UniqueFd errors,
                  std::function<void(std::uint64_t, const Record&)> received,
                  std::function<void(std::uint64_t, int, const std::string&)> ended) {
    std::string payload;
    while (elevated::readRecord(output.get(), payload) == elevated::ReadStatus::Record) {
        if (auto record = elevated::decodeRecord(payload)) {
            platform::MainQueue::shared().async([weak, generation, received, r = *record] {
                if (auto alive = weak.lock()) {
                    received(generation, r);
                }
            });
        }
    }
    std::string words;
    char buffer[4096];
    for (ssize_t got; (got = ::read(errors.get(), buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        if (got > 0 && words.size() < 65536) {
            words.append(buffer, static_cast<std::size_t>(got));
        }
    }
    const int status = platform::waitForExit(pid);
    platform::MainQueue::shared().async([weak, generation, ended, status, words] {
        if (auto alive = weak.lock()) {
            ended(generation, status, words);
        }
    });
}

}  // namespace

std::string ElevatedLaunch::helperBesideThisProgram() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path("/usr/libexec/korvex") : self.parent_path()) /
           "korvex-elevated";
}

std::optional<ElevatedFailure> launchFailure(int status, const std::string& errors) {
    if (status == ElevatedPromptDismissed) {
        return ElevatedFailure{ElevatedPromptDismissed,
                               "The administrator password was not given (the prompt was "
                               "dismissed), so nothing was changed."};
    }
    if (status == ElevatedNotAuthorized) {
        if (contains(errors, "authentication agent")) {
            return ElevatedFailure{ElevatedUnavailable, kNoAgent};
        }
        if (contains(errors, "Not authorized")) {
            return ElevatedFailure{ElevatedNotAuthorized,
                                   "Administrator rights were refused: this user is not "
                                   "authorized to remove the items, so nothing was changed."};
        }
    }
    if (status == elevated::kRefusedStartStatus) {
        return ElevatedFailure{ElevatedUnavailable,
                               "The administrator helper refused to start: " + lastLine(errors)};
    }
    const std::string said = lastLine(errors);
    return ElevatedFailure{ElevatedUnavailable,
                           "Administrator rights are not available: the helper could not be "
                           "started (exit status " +
                               std::to_string(status) + (said.empty() ? ")" : "): " + said)};
}

std::shared_ptr<ElevatedHelper> ElevatedHelper::create(ElevatedLaunch launch) {
    return std::shared_ptr<ElevatedHelper>(new ElevatedHelper(std::move(launch)));
}

ElevatedHelper::~ElevatedHelper() {
    // The helper reads the end of its input and ends.
    mInput = {};
}

ElevatedHelper::RequestId ElevatedHelper::moveToTrash(std::vector<elevated::TargetItem> items,
                                                      std::string homeTrash, Completion completion,
                                                      Timeout timeout) {
    Record request;
    request.kind = RecordKind::MoveToTrash;
    request.items = std::move(items);
    request.homeTrash = std::move(homeTrash);
    return enqueue(std::move(request), std::move(completion), timeout);
}

ElevatedHelper::RequestId ElevatedHelper::removePermanently(std::vector<elevated::TargetItem> items,
                                                            Completion completion,
                                                            Timeout timeout) {
    Record request;
    request.kind = RecordKind::RemovePermanently;
    request.items = std::move(items);
    return enqueue(std::move(request), std::move(completion), timeout);
}

ElevatedHelper::RequestId ElevatedHelper::enqueue(Record request, Completion completion,
                                                  Timeout timeout) {
    request.id = mNextId++;
    const RequestId id = request.id;
    Pending pending;
    pending.request = std::move(request);
    pending.completion = std::move(completion);
    if (timeout) {
        std::weak_ptr<ElevatedHelper> weak = weak_from_this();
        pending.timer = platform::MainQueue::shared().after(*timeout, [weak, id] {
            if (auto self = weak.lock()) {
                self->stopRequest(id, true);
            }
        });
    }
    mQueue.push_back(std::move(pending));
    if (!mPid) {
        launch();
    } else {
        sendNext();
    }
    return id;
}

void ElevatedHelper::launch() {
    if (::access(mLaunch.helperPath.c_str(), X_OK) != 0) {
        failAll({ElevatedUnavailable,
                 "Administrator rights are not available: the helper program "
                 "\"" +
                     mLaunch.helperPath + "\" is missing."});
        return;
    }
    std::vector<std::string> argv = mLaunch.launcher;
    argv.insert(argv.end(), {mLaunch.helperPath, "--parent", std::to_string(::getpid()),
                             "--idle-seconds", std::to_string(mLaunch.idle.count())});
    int error = 0;
    auto child = platform::PipedChild::start(argv, error);
    if (!child) {
        failAll({ElevatedUnavailable,
                 error == ENOENT
                     ? "Administrator rights are not available: " + mLaunch.launcher.front() +
                           " is not installed"
                     : "Administrator rights are not available: " + mLaunch.launcher.front() +
                           " could not be started (" + std::strerror(error) + ")"});
        return;
    }
    const std::uint64_t generation = ++mGeneration;
    mPid = child->pid;
    mInput = std::move(child->input);
    mReady = false;
    std::weak_ptr<ElevatedHelper> weak = weak_from_this();
    ElevatedHelper* self = this;
    std::thread(
        readUntilEnd, weak, generation, child->pid, std::move(child->output),
        std::move(child->errors),
        [self](std::uint64_t g, const Record& record) { self->received(g, record); },
        [self](std::uint64_t g, int status, const std::string& words) {
            self->ended(g, status, words);
        })
        .detach();
}

void ElevatedHelper::sendNext() {
    if (!mReady || mQueue.empty() || mQueue.front().sent) {
        return;
    }
    mQueue.front().sent = true;
    if (!elevated::writeRecord(mInput.get(), mQueue.front().request)) {
        // The helper has gone; its end reports the request.
        mInput = {};
    }
}

void ElevatedHelper::received(std::uint64_t generation, const Record& record) {
    if (generation != mGeneration) {
        return;
    }
    if (record.kind == RecordKind::Ready) {
        mReady = record.version == elevated::kProtocolVersion;
        if (!mReady) {
            mInput = {};  // a helper of another build: let it end
        }
        sendNext();
        return;
    }
    if (record.kind != RecordKind::Result || mQueue.empty() || !mQueue.front().sent ||
        mQueue.front().request.id != record.id) {
        return;
    }
    Pending done = std::move(mQueue.front());
    mQueue.pop_front();
    ElevatedReply reply;
    reply.outcomes = record.outcomes;
    reply.outcomes.resize(done.request.items.size(),
                          {EIO, "The administrator helper did not report on this item."});
    reply.cancelled = record.cancelled;
    reply.timedOut = done.timedOut;
    finish(std::move(done), std::move(reply));
    sendNext();
}

void ElevatedHelper::ended(std::uint64_t generation, int status, const std::string& errors) {
    if (generation != mGeneration) {
        return;
    }
    const bool wasReady = mReady;
    mPid.reset();
    mInput = {};
    mReady = false;
    if (!wasReady) {
        if (auto failure = launchFailure(status, errors)) {
            failAll(*failure);
        }
        return;
    }
    if (!mQueue.empty() && mQueue.front().sent) {
        if (status == elevated::kIdleExitStatus) {
            // It ended for idleness without reading the request: ask again.
            mQueue.front().sent = false;
        } else {
            Pending lost = std::move(mQueue.front());
            mQueue.pop_front();
            ElevatedReply reply;
            reply.failure =
                ElevatedFailure{ElevatedHelperStopped,
                                "The administrator helper stopped before it finished (exit "
                                "status " +
                                    std::to_string(status) + "); some items may have been moved."};
            finish(std::move(lost), std::move(reply));
        }
    }
    if (!mQueue.empty()) {
        launch();
    }
}

void ElevatedHelper::cancel(RequestId id) {
    stopRequest(id, false);
}

void ElevatedHelper::stopRequest(RequestId id, bool timedOut) {
    for (auto it = mQueue.begin(); it != mQueue.end(); ++it) {
        if (it->request.id != id) {
            continue;
        }
        if (it->sent) {
            // Only the helper can stop its work: a signal from here does not
            // reach a process running as root.
            it->timedOut = timedOut;
            Record cancel;
            cancel.kind = RecordKind::Cancel;
            cancel.id = id;
            elevated::writeRecord(mInput.get(), cancel);
            return;
        }
        Pending dropped = std::move(*it);
        mQueue.erase(it);
        ElevatedReply reply;
        reply.failure = timedOut ? ElevatedFailure{ElevatedTimedOut,
                                                   "Administrator rights were not given in time, "
                                                   "so nothing was changed."}
                                 : ElevatedFailure{ElevatedCancelled,
                                                   "The removal was cancelled before it began."};
        reply.timedOut = timedOut;
        reply.cancelled = !timedOut;
        finish(std::move(dropped), std::move(reply));
        if (mQueue.empty() && mPid && !mReady) {
            // Still at the password prompt, which runs with this user's
            // rights and can be told to end.
            ::kill(*mPid, SIGTERM);
        }
        return;
    }
}

void ElevatedHelper::stop() {
    mInput = {};
}

void ElevatedHelper::finish(Pending pending, ElevatedReply reply) {
    if (pending.timer) {
        platform::MainQueue::shared().cancelTimer(*pending.timer);
    }
    if (pending.completion) {
        pending.completion(reply);
    }
}

void ElevatedHelper::failAll(const ElevatedFailure& failure) {
    auto waiting = std::move(mQueue);
    mQueue.clear();
    for (Pending& pending : waiting) {
        ElevatedReply reply;
        reply.failure = failure;
        finish(std::move(pending), std::move(reply));
    }
}

}  // namespace korvex
