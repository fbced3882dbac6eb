#pragma once

#include <chrono>
#include <functional>
#include <memory>

class QVariantAnimation;

namespace korvex {

// One run of a value from 0 to 1 along an ease-in-out curve, driven by the
// Qt event loop at the display's pace. Each step and the end are handed to
// callbacks on the main thread; stop() ends a run without its end callback.
class DiagramAnimation {
  public:
    using Step = std::function<void(double)>;
    using Done = std::function<void()>;

    DiagramAnimation();
    ~DiagramAnimation();
    DiagramAnimation(const DiagramAnimation&) = delete;
    DiagramAnimation& operator=(const DiagramAnimation&) = delete;

    void start(std::chrono::milliseconds duration, Step step, Done done);
    void stop();
    // Jumps to the end: the last step (1.0) and the end callback run now.
    void finish();
    bool isRunning() const;

  private:
    std::unique_ptr<QVariantAnimation> mAnimation;
    Step mStep;
    Done mDone;
};

}  // namespace korvex
