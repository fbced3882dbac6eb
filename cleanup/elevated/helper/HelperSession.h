#pragma once

#include "cleanup/elevated/helper/SafeWalk.h"
#include "cleanup/elevated/records/ElevatedRecords.h"

#include <chrono>
#include <deque>

namespace korvex::elevated {

// The helper's conversation with the application over its standard input
// and output: it announces itself, then serves one request at a time and
// answers each with one result. While it works it looks at its input
// between entries, so a cancel from the application, or the application's
// end, stops the work.
class HelperSession {
  public:
    HelperSession(int in, int out, Requester requester, std::chrono::milliseconds idle)
        : mIn(in), mOut(out), mRequester(requester), mIdle(idle) {}

    // Serves until the application closes the pipe (0), nothing comes for
    // the idle time (kIdleExitStatus) or the stream breaks (1).
    int run();

  private:
    Record serve(const Record& request);
    // A cancel of the running request, or the end of the application.
    bool cancelled();
    bool waitForInput(int timeoutMs) const;
    // Reads and decodes one record; false at the end or on a broken stream.
    bool take(Record& record);

    int mIn;
    int mOut;
    Requester mRequester;
    std::chrono::milliseconds mIdle;
    std::deque<Record> mPending;
    std::uint64_t mRunning = 0;
    bool mCancelled = false;
    bool mEnded = false;
    bool mBroken = false;
};

}  // namespace korvex::elevated
