#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace korvex::platform {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    // The XDG rules ignore relative values.
    return value != nullptr && value[0] == '/' ? std::string(value) : fallback;
}

}  // namespace

std::optional<std::string> parseUserDirValue(const std::string& value, const std::string& home) {
    std::string text = value;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (text.rfind("$HOME", 0) == 0) {
        std::string rest = text.substr(5);
        if (!rest.empty() && rest.front() != '/') {
            return std::nullopt;
        }
        return home + rest;
    }
    if (!text.empty() && text.front() == '/') {
        return text;
    }
    return std::nullopt;
}

UserFolders::Environment UserFolders::systemEnvironment() {
    Environment env;
    const char* login = getlogin();
    std::string loginName = login != nullptr ? login : "";
    const passwd* entry = getpwuid(getuid());
    // $HOME says where the user's home is; the user database only stands in
    // when it is unset.
    env.home = envOr("HOME", "");
    if (env.home.empty() && entry != nullptr && entry->pw_dir != nullptr) {
        env.home = entry->pw_dir;
    }
    if (env.home.empty()) {
        env.home = "/home/" + loginName;
    }
    if (entry != nullptr && entry->pw_name != nullptr) {
        env.userName = entry->pw_name;
    }
    if (env.userName.empty()) {
        env.userName = loginName;
    }
    env.xdgConfigHome = envOr("XDG_CONFIG_HOME", "");
    env.xdgDataHome = envOr("XDG_DATA_HOME", "");
    env.xdgCacheHome = envOr("XDG_CACHE_HOME", "");
    return env;
}

const UserFolders& UserFolders::current() {
    static const UserFolders folders(systemEnvironment());
    return folders;
}

UserFolders::UserFolders(Environment env)
    : mHome(std::move(env.home)),
      mUserName(std::move(env.userName)),
      mConfigHome(env.xdgConfigHome.empty() ? mHome + "/.config" : env.xdgConfigHome),
      mDataHome(env.xdgDataHome.empty() ? mHome + "/.local/share" : env.xdgDataHome),
      mCacheHome(env.xdgCacheHome.empty() ? mHome + "/.cache" : env.xdgCacheHome),
      mUserDirsFile(mConfigHome + "/user-dirs.dirs") {
    mDesktop = userDir("XDG_DESKTOP_DIR", "Desktop");
    mDocuments = userDir("XDG_DOCUMENTS_DIR", "Documents");
    mDownloads = userDir("XDG_DOWNLOAD_DIR", "Downloads");
    mPictures = userDir("XDG_PICTURES_DIR", "Pictures");
    mMusic = userDir("XDG_MUSIC_DIR", "Music");
}

std::string UserFolders::userDir(const char* key, const char* fallbackName) const {
    std::ifstream file(mUserDirsFile);
    std::string line;
    const std::string prefix = std::string(key) + "=";
    while (std::getline(file, line)) {
        if (line.rfind(prefix, 0) == 0) {
            if (auto value = parseUserDirValue(line.substr(prefix.size()), mHome)) {
                return *value;
            }
        }
    }
    return mHome + "/" + fallbackName;
}

}  // namespace korvex::platform
