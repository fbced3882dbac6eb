#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex {

// What a volume scan needs of purgeable-space measuring: start it for the
// volume and read the measured bytes when the scan ends.
class PurgeableSpaceMeasure {
  public:
    virtual ~PurgeableSpaceMeasure() = default;
    virtual void performWithCompletion(std::function<void()> completion) = 0;
    virtual std::int64_t purgeableSpaceValue() const = 0;
    // The folders whose contents the value counts; a scan that holds them
    // has counted that space already.
    virtual std::vector<std::string> measuredFolders() const { return {}; }

    // Makes the measuring operation for a volume path; empty until the
    // recovery service is installed, in which case volumes get no purgeable node.
    using Factory = std::function<std::shared_ptr<PurgeableSpaceMeasure>(const std::string&)>;
    static void setFactory(Factory factory);
    static std::shared_ptr<PurgeableSpaceMeasure> makeForPath(const std::string& path);
};

}  // namespace korvex
