#pragma once

#include "platform/dispatch/ObserverRegistry.h"

#include <any>
#include <functional>
#include <string>

namespace korvex::platform {

// In-process notifications by name. Delivery is synchronous on the posting
// thread; the engine posts from the main thread only.
class NotificationCenter {
  public:
    using Callback = std::function<void(const std::any& object)>;

    // Stops delivery when destroyed (or reset).
    class Token {
      public:
        Token() = default;
        ~Token() { reset(); }
        Token(Token&& other) noexcept : mCenter(other.mCenter), mId(other.mId) {
            other.mCenter = nullptr;
        }
        Token& operator=(Token&& other) noexcept;
        Token(const Token&) = delete;
        Token& operator=(const Token&) = delete;
        void reset();

      private:
        friend class NotificationCenter;
        Token(NotificationCenter* center, std::uint64_t id) : mCenter(center), mId(id) {}
        NotificationCenter* mCenter = nullptr;
        std::uint64_t mId = 0;
    };

    static NotificationCenter& defaultCenter();
    // Where file-system watchers post what they see.
    static NotificationCenter& workspaceCenter();

    [[nodiscard]] Token addObserver(const std::string& name, Callback callback);
    void removeObserver(std::uint64_t id);
    void post(const std::string& name, const std::any& object = {});

  private:
    ObserverRegistry<std::string, std::any> mObservers;
};

}  // namespace korvex::platform
