#include "access/AccessCacher.h"

#include <vector>

namespace korvex {

AccessCacher::AccessCacher(Probe probe) : mProbe(std::move(probe)) {
    refresh();
}

void AccessCacher::refresh() {
    std::vector<AccessType> changed;
    for (AccessType type : kAllAccessTypes) {
        bool now = mProbe(type);
        std::lock_guard guard(cachedAccessQueue);
        auto it = cachedAccess.find(type);
        if (it == cachedAccess.end() || it->second != now) {
            cachedAccess[type] = now;
            changed.push_back(type);
        }
    }
    if (mListener != nullptr) {
        for (AccessType type : changed) {
            mListener->accessChanged(type);
        }
    }
}

bool AccessCacher::cachedValue(AccessType type) const {
    std::lock_guard guard(cachedAccessQueue);
    auto it = cachedAccess.find(type);
    return it != cachedAccess.end() && it->second;
}

}  // namespace korvex
