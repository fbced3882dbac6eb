#pragma once

#include <grp.h>
#include <unistd.h>

namespace korvex::test {

inline constexpr uid_t kNobody = 65534;

// Acts as the user "nobody" while it lives (effective ids only, so that the
// process can switch back).
class AsNobody {
  public:
    AsNobody() {
        mSwitched = ::geteuid() == 0 && ::setgroups(0, nullptr) == 0 && ::setegid(kNobody) == 0 &&
                    ::seteuid(kNobody) == 0;
    }
    ~AsNobody() {
        if (mSwitched) {
            [[maybe_unused]] const int ignored = ::seteuid(0) + ::setegid(0);
            const gid_t root = 0;
            ::setgroups(1, &root);
        }
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;
    bool switched() const { return mSwitched; }

  private:
    bool mSwitched = false;
};

}  // namespace korvex::test
