#pragma once

#include "access/AccessTypes.h"

#include <functional>
#include <map>
#include <mutex>

namespace korvex {

class AccessCacherListener {
  public:
    virtual ~AccessCacherListener() = default;
    virtual void accessChanged(AccessType type) = 0;
};

// The last known availability of every kind of access; refreshed when made
// and whenever the application becomes active.
class AccessCacher {
  public:
    using Probe = std::function<bool(AccessType)>;

    explicit AccessCacher(Probe probe = currentAccess);

    void setListener(AccessCacherListener* listener) { mListener = listener; }
    // Re-reads every kind and tells the listener about each one that changed.
    void refresh();
    bool cachedValue(AccessType type) const;

  private:
    Probe mProbe;
    AccessCacherListener* mListener = nullptr;
    mutable std::mutex cachedAccessQueue;
    std::map<AccessType, bool> cachedAccess;
};

}  // namespace korvex
