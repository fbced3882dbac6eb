#pragma once

#include <memory>
#include <string>
#include <vector>

namespace korvex {

// The text of one bash script and how it may be run.
class BashScript {
  public:
    virtual ~BashScript() = default;
    virtual bool requireAdminPrivileges() const = 0;
    // The text may be built off the main thread.
    virtual bool allowBackgroundBuild() const = 0;
    virtual std::string buildScript() const = 0;
};

using BashScriptRef = std::shared_ptr<const BashScript>;

// A script whose two flags are chosen when it is made.
class ConfiguredBashScript : public BashScript {
  public:
    ConfiguredBashScript(bool requireAdminPrivileges, bool allowBackgroundBuild)
        : mRequireAdminPrivileges(requireAdminPrivileges),
          mAllowBackgroundBuild(allowBackgroundBuild) {}
    bool requireAdminPrivileges() const override { return mRequireAdminPrivileges; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }

  private:
    bool mRequireAdminPrivileges;
    bool mAllowBackgroundBuild;
};

// A script over a list of paths.
class PathsBashScript : public ConfiguredBashScript {
  public:
    PathsBashScript(std::vector<std::string> paths, bool requireAdminPrivileges,
                    bool allowBackgroundBuild)
        : ConfiguredBashScript(requireAdminPrivileges, allowBackgroundBuild),
          mPaths(std::move(paths)) {}
    const std::vector<std::string>& paths() const { return mPaths; }

  private:
    std::vector<std::string> mPaths;
};

// The marker lines that report one error in a script's output:
// "HVERROR;1;<number>", the message lines, then "HVERROREND".
inline constexpr const char* kScriptErrorMarker = "HVERROR";
inline constexpr const char* kScriptErrorEndMarker = "HVERROREND";

// A bash function that writes such a block: reporterror NUMBER MESSAGE.
inline constexpr const char* kReportErrorFunction =
    "reporterror() {\n"
    "\tprintf 'HVERROR;1;%s\\n%s\\nHVERROREND\\n' \"$1\" \"$2\"\n"
    "}\n";

}  // namespace korvex
