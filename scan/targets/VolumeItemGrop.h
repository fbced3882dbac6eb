#pragma once

#include <cstdint>
#include <string>

namespace korvex {

// A group header of the volumes list.
struct VolumeItemGrop {
    bool writeble = false;
    bool unmountable = false;
    bool removable = false;
    std::string groupName;
    std::int64_t _sectionKind = 0;

    bool ifHavetheSameChars(const VolumeItemGrop& other) const {
        return writeble == other.writeble && unmountable == other.unmountable &&
               removable == other.removable;
    }
};

}  // namespace korvex
