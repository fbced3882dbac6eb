#include "platform/dispatch/NotificationCenter.h"

#include <vector>

namespace korvex::platform {

NotificationCenter::Token& NotificationCenter::Token::operator=(Token&& other) noexcept {
    if (this != &other) {
        reset();
        mCenter = other.mCenter;
        mId = other.mId;
        other.mCenter = nullptr;
    }
    return *this;
}

void NotificationCenter::Token::reset() {
    if (mCenter != nullptr) {
        mCenter->removeObserver(mId);
        mCenter = nullptr;
    }
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name,
                                                          Callback callback) {
    std::lock_guard guard(mMutex);
    std::uint64_t id = mNextId++;
    mObservers.emplace(id, Observer{name, std::make_shared<Callback>(std::move(callback))});
    return Token(this, id);
}

void NotificationCenter::removeObserver(std::uint64_t id) {
    std::lock_guard guard(mMutex);
    mObservers.erase(id);
}

void NotificationCenter::post(const std::string& name, const std::any& object) {
    std::vector<std::pair<std::uint64_t, std::shared_ptr<Callback>>> targets;
    {
        std::lock_guard guard(mMutex);
        for (const auto& [id, observer] : mObservers) {
            if (observer.name == name) {
                targets.emplace_back(id, observer.callback);
            }
        }
    }
    for (const auto& [id, callback] : targets) {
        // An observer removed by an earlier one during this delivery is skipped.
        bool stillThere = false;
        {
            std::lock_guard guard(mMutex);
            stillThere = mObservers.count(id) != 0;
        }
        if (stillThere) {
            (*callback)(object);
        }
    }
}

}  // namespace korvex::platform
