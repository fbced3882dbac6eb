#include "platform/dispatch/NotificationCenter.h"

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

NotificationCenter& NotificationCenter::workspaceCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name,
                                                          Callback callback) {
    return Token(this, mObservers.add(name, std::move(callback)));
}

void NotificationCenter::removeObserver(std::uint64_t id) {
    mObservers.remove(id);
}

void NotificationCenter::post(const std::string& name, const std::any& object) {
    mObservers.deliver([&name](const std::string& key) { return key == name; }, object);
}

}  // namespace korvex::platform
