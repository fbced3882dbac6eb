#include "cleanup/elevated/ProcessBashScripts.h"

#include "cleanup/elevated/ShellPathUtil.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace korvex {

std::shared_ptr<LaunchAppBashScript> LaunchAppBashScript::initWithPaths(
    std::vector<std::string> paths) {
    return std::make_shared<LaunchAppBashScript>(std::move(paths), ArgumentsType::Paths);
}

std::shared_ptr<LaunchAppBashScript> LaunchAppBashScript::initWithNames(
    std::vector<std::string> names) {
    return std::make_shared<LaunchAppBashScript>(std::move(names), ArgumentsType::Names);
}

std::string LaunchAppBashScript::buildScript() const {
    const char* opener = mArgumentTypes == ArgumentsType::Names ? "gtk-launch " : "xdg-open ";
    std::string text;
    for (const std::string& argument : mArguments) {
        text += opener + ShellPathUtil::shelledPath(argument) + "\n";
    }
    return text;
}

PkillBashScript::PkillBashScript(const std::vector<std::string>& processNames) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (!std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); })) {
            continue;
        }
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        if (std::find(processNames.begin(), processNames.end(), name) != processNames.end()) {
            _processPIDs.push_back(pid);
        }
    }
}

std::string PkillBashScript::buildScript() const {
    std::string text = "kill -9 ";
    for (std::size_t i = 0; i < _processPIDs.size(); ++i) {
        text += (i == 0 ? "" : " ") + _processPIDs[i];
    }
    return text;
}

}  // namespace korvex
