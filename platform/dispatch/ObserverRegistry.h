#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace korvex::platform {

// The observers of a notification center: each kept with the key it
// listens for, removable by id at any time, also from inside a delivery.
template <class Key, class Payload>
class ObserverRegistry {
  public:
    using Handler = std::function<void(const Payload&)>;

    std::uint64_t add(Key key, Handler handler) {
        std::lock_guard guard(mMutex);
        const std::uint64_t id = mNextId++;
        mObservers.emplace(id,
                           Observer{std::move(key), std::make_shared<Handler>(std::move(handler))});
        return id;
    }

    void remove(std::uint64_t id) {
        std::lock_guard guard(mMutex);
        mObservers.erase(id);
    }

    // Hands `payload` to every observer whose key `matches`, outside the lock;
    // one removed by an earlier handler of this delivery is skipped.
    template <class Matches>
    void deliver(Matches matches, const Payload& payload) {
        std::vector<std::pair<std::uint64_t, std::shared_ptr<Handler>>> targets;
        {
            std::lock_guard guard(mMutex);
            for (const auto& [id, observer] : mObservers) {
                if (matches(observer.key)) {
                    targets.emplace_back(id, observer.handler);
                }
            }
        }
        for (const auto& [id, handler] : targets) {
            bool stillThere = false;
            {
                std::lock_guard guard(mMutex);
                stillThere = mObservers.count(id) != 0;
            }
            if (stillThere) {
                (*handler)(payload);
            }
        }
    }

  private:
    struct Observer {
        Key key;
        std::shared_ptr<Handler> handler;
    };

    std::mutex mMutex;
    std::map<std::uint64_t, Observer> mObservers;
    std::uint64_t mNextId = 1;
};

}  // namespace korvex::platform
