#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

// A script given as text.
class CustomBashScript : public ConfiguredBashScript {
  public:
    CustomBashScript(std::string script, bool requireAdminPrivileges,
                     bool allowBackgroundBuild = true)
        : ConfiguredBashScript(requireAdminPrivileges, allowBackgroundBuild),
          mScript(std::move(script)) {}
    // "sleep" for that many seconds, without administrator rights.
    static std::shared_ptr<CustomBashScript> waitSeconds(double seconds);

    std::string buildScript() const override { return mScript; }

  private:
    std::string mScript;
};

// Several scripts run as one, each after a "# script N " header line.
class CompoundBashScript : public ConfiguredBashScript {
  public:
    CompoundBashScript(std::vector<BashScriptRef> scripts, bool requireAdminPrivileges,
                       bool allowBackgroundBuild = true)
        : ConfiguredBashScript(requireAdminPrivileges, allowBackgroundBuild),
          mScripts(std::move(scripts)) {}

    // The parts are built one after another on the calling thread.
    std::string buildScript() const override;

  private:
    std::vector<BashScriptRef> mScripts;
};

// A script that does nothing.
class EmptyBashScript : public ConfiguredBashScript {
  public:
    explicit EmptyBashScript(bool requireAdminPrivileges = false, bool allowBackgroundBuild = true)
        : ConfiguredBashScript(requireAdminPrivileges, allowBackgroundBuild) {}

    std::string buildScript() const override { return "# empty script :)"; }
};

}  // namespace korvex
