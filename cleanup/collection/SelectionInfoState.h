#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace korvex {

// The summary shown under the collection: how many nodes, how many bytes.
class SelectionInfoState {
  public:
    enum class Mode { count, size };
    using Listener = std::function<void(std::int64_t count, std::int64_t size)>;

    void set(std::int64_t count, std::int64_t size);
    std::int64_t selectedCount() const;
    std::int64_t selectedSize() const;
    Mode mode() const { return mMode; }
    void setMode(Mode mode) { mMode = mode; }
    // Told on the thread that changed the summary.
    void addListener(Listener listener);

  private:
    mutable std::mutex mLock;
    std::int64_t mSelectedCount = 0;
    std::int64_t mSelectedSize = 0;
    Mode mMode = Mode::size;
    std::vector<Listener> mListeners;
};

}  // namespace korvex
