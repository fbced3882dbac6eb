#include "cleanup/elevated/helper/HelperSession.h"

#include "cleanup/elevated/helper/RootRemoval.h"
#include "cleanup/elevated/helper/RootTrash.h"

#include <poll.h>

#include <cerrno>

namespace korvex::elevated {

bool HelperSession::waitForInput(int timeoutMs) const {
    pollfd watched{mIn, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&watched, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

bool HelperSession::take(Record& record) {
    std::string payload;
    const ReadStatus status = readRecord(mIn, payload);
    if (status == ReadStatus::End) {
        mEnded = true;
        return false;
    }
    auto decoded = status == ReadStatus::Record ? decodeRecord(payload) : std::nullopt;
    if (!decoded) {
        mEnded = mBroken = true;
        return false;
    }
    record = std::move(*decoded);
    return true;
}

bool HelperSession::cancelled() {
    while (!mCancelled && !mEnded && waitForInput(0)) {
        Record record;
        if (!take(record)) {
            break;
        }
        if (record.kind == RecordKind::Cancel) {
            mCancelled = record.id == mRunning;
        } else {
            mPending.push_back(std::move(record));
        }
    }
    return mCancelled || mEnded;
}

Record HelperSession::serve(const Record& request) {
    mRunning = request.id;
    mCancelled = false;
    Record result;
    result.kind = RecordKind::Result;
    result.id = request.id;
    RootTrash trash(request.homeTrash, mRequester);
    const auto stop = [this] { return cancelled(); };
    for (const TargetItem& item : request.items) {
        if (cancelled()) {
            result.outcomes.push_back(
                {ECANCELED, "\"" + item.path + "\" was left alone: the removal was stopped."});
            continue;
        }
        result.outcomes.push_back(request.kind == RecordKind::MoveToTrash
                                      ? trash.trash(item)
                                      : removePermanently(item, stop));
    }
    result.cancelled = mCancelled || mEnded;
    mRunning = 0;
    return result;
}

int HelperSession::run() {
    Record ready;
    ready.kind = RecordKind::Ready;
    ready.version = kProtocolVersion;
    if (!writeRecord(mOut, ready)) {
        return 0;
    }
    while (!mEnded) {
        Record request;
        if (!mPending.empty()) {
            request = std::move(mPending.front());
            mPending.pop_front();
        } else if (!waitForInput(static_cast<int>(mIdle.count()))) {
            return kIdleExitStatus;
        } else if (!take(request)) {
            break;
        }
        if (request.kind != RecordKind::MoveToTrash &&
            request.kind != RecordKind::RemovePermanently) {
            continue;  // a late cancel, or nothing a helper is asked
        }
        if (!writeRecord(mOut, serve(request))) {
            return 0;
        }
    }
    return mBroken ? 1 : 0;
}

}  // namespace korvex::elevated
