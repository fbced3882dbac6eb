#include "platform/dispatch/SerialQueue.h"

#include "platform/dispatch/MainQueue.h"

#include <pthread.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace korvex::platform {

// Shared with the worker thread, so that a queue dropped by one of its own
// blocks leaves the thread something valid to finish with.
struct SerialQueue::State {
    std::string label;
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<Block> blocks;
    bool stopping = false;
    std::thread thread;

    static void run(const std::shared_ptr<State>& state) {
        // Thread names are limited to 15 bytes; the tail of a label says most.
        std::string name =
            state->label.size() > 15 ? state->label.substr(state->label.size() - 15) : state->label;
        pthread_setname_np(pthread_self(), name.c_str());
        std::unique_lock guard(state->mutex);
        while (true) {
            state->posted.wait(guard, [&] { return state->stopping || !state->blocks.empty(); });
            if (state->blocks.empty()) {
                return;
            }
            Block block = std::move(state->blocks.front());
            state->blocks.pop_front();
            guard.unlock();
            block();
            // What a block captured is let go on the main queue: tree nodes,
            // and the objects that own this queue, are destroyed there only.
            MainQueue::shared().async([spent = std::move(block)] {});
            guard.lock();
        }
    }
};

SerialQueue::SerialQueue(std::string label) : mState(std::make_shared<State>()) {
    mState->label = std::move(label);
}

SerialQueue::~SerialQueue() {
    std::thread thread;
    {
        std::lock_guard guard(mState->mutex);
        mState->stopping = true;
        thread = std::move(mState->thread);
    }
    mState->posted.notify_all();
    if (!thread.joinable()) {
        return;
    }
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();  // the thread holds the state and ends after this block
    } else {
        thread.join();
    }
}

void SerialQueue::async(Block block) {
    // Notified under the lock: once it is released, the block may run and
    // drop this queue.
    std::lock_guard guard(mState->mutex);
    mState->blocks.push_back(std::move(block));
    if (!mState->thread.joinable()) {
        mState->thread = std::thread(&State::run, mState);
    }
    mState->posted.notify_one();
}

const std::string& SerialQueue::label() const {
    return mState->label;
}

}  // namespace korvex::platform
