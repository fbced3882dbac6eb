#pragma once

#include <functional>
#include <memory>
#include <string>

namespace korvex::platform {

// Runs blocks one after another, in the order they were posted, on a thread
// of its own that starts with the first block. The label names the thread in
// diagnostics. A block is destroyed on the main queue after it ran, so what it
// captured is released there. Dropping the queue lets the blocks already
// posted finish; a queue may be dropped from one of its own blocks.
class SerialQueue {
  public:
    using Block = std::function<void()>;

    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(Block block);
    const std::string& label() const;

  private:
    struct State;
    std::shared_ptr<State> mState;
};

}  // namespace korvex::platform
