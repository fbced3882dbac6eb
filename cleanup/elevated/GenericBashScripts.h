#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

// A script given as text.
class CustomBashScript : public BashScript {
  public:
    CustomBashScript(std::string script, bool requireAdminPrivileges,
                     bool allowBackgroundBuild = true)
        : mScript(std::move(script)),
          mRequireAdminPrivileges(requireAdminPrivileges),
          mAllowBackgroundBuild(allowBackgroundBuild) {}
    // "sleep" for that many seconds, without administrator rights.
    static std::shared_ptr<CustomBashScript> waitSeconds(double seconds);

    bool requireAdminPrivileges() const override { return mRequireAdminPrivileges; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    std::string buildScript() const override { return mScript; }

  private:
    std::string mScript;
    bool mRequireAdminPrivileges;
    bool mAllowBackgroundBuild;
};

// Several scripts run as one, each after a "# script N " header line.
class CompoundBashScript : public BashScript {
  public:
    CompoundBashScript(std::vector<BashScriptRef> scripts, bool requireAdminPrivileges,
                       bool allowBackgroundBuild = true)
        : mScripts(std::move(scripts)),
          mRequireAdminPrivileges(requireAdminPrivileges),
          mAllowBackgroundBuild(allowBackgroundBuild) {}

    bool requireAdminPrivileges() const override { return mRequireAdminPrivileges; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    // The parts are built one after another on the calling thread.
    std::string buildScript() const override;

  private:
    std::vector<BashScriptRef> mScripts;
    bool mRequireAdminPrivileges;
    bool mAllowBackgroundBuild;
};

// A script that does nothing.
class EmptyBashScript : public BashScript {
  public:
    explicit EmptyBashScript(bool requireAdminPrivileges = false, bool allowBackgroundBuild = true)
        : mRequireAdminPrivileges(requireAdminPrivileges),
          mAllowBackgroundBuild(allowBackgroundBuild) {}

    bool requireAdminPrivileges() const override { return mRequireAdminPrivileges; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    std::string buildScript() const override { return "# empty script :)"; }

  private:
    bool mRequireAdminPrivileges;
    bool mAllowBackgroundBuild;
};

}  // namespace korvex
