#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

enum class ArgumentsType { Paths, Names };

// Opens files with their default applications ("xdg-open"), or starts
// applications by the name of their desktop entry ("gtk-launch").
class LaunchAppBashScript : public BashScript {
  public:
    static std::shared_ptr<LaunchAppBashScript> initWithPaths(std::vector<std::string> paths);
    static std::shared_ptr<LaunchAppBashScript> initWithNames(std::vector<std::string> names);
    LaunchAppBashScript(std::vector<std::string> arguments, ArgumentsType argumentTypes)
        : mArguments(std::move(arguments)), mArgumentTypes(argumentTypes) {}

    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return true; }
    std::string buildScript() const override;

  private:
    std::vector<std::string> mArguments;
    ArgumentsType mArgumentTypes;
};

// Ends running programs at once ("kill -9"). The process ids are those of
// the programs with the given names when the script is made.
class PkillBashScript : public BashScript {
  public:
    explicit PkillBashScript(const std::vector<std::string>& processNames);

    const std::vector<std::string>& processPIDs() const { return _processPIDs; }
    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return true; }
    std::string buildScript() const override;

  private:
    std::vector<std::string> _processPIDs;
};

}  // namespace korvex
