#pragma once

#include <optional>
#include <string>

namespace korvex::platform {

// Where things live for the current user, by the user database and the XDG
// base-directory and user-directory conventions.
class UserFolders {
  public:
    // What the folders are derived from; fromSystem() reads the real values,
    // tests pass their own.
    struct Environment {
        std::string home;
        std::string userName;
        std::string xdgConfigHome;  // empty: home/.config
        std::string xdgDataHome;    // empty: home/.local/share
        std::string xdgCacheHome;   // empty: home/.cache
    };

    static Environment systemEnvironment();
    static const UserFolders& current();
    explicit UserFolders(Environment env);

    const std::string& home() const { return mHome; }
    const std::string& userName() const { return mUserName; }
    const std::string& configHome() const { return mConfigHome; }
    const std::string& dataHome() const { return mDataHome; }
    const std::string& cacheHome() const { return mCacheHome; }
    // The freedesktop.org home trash folder.
    std::string trash() const { return mDataHome + "/Trash"; }
    const std::string& desktop() const { return mDesktop; }
    const std::string& documents() const { return mDocuments; }
    const std::string& downloads() const { return mDownloads; }
    const std::string& pictures() const { return mPictures; }
    const std::string& music() const { return mMusic; }

  private:
    std::string userDir(const char* key, const char* fallbackName) const;

    std::string mHome;
    std::string mUserName;
    std::string mConfigHome;
    std::string mDataHome;
    std::string mCacheHome;
    std::string mUserDirsFile;
    std::string mDesktop;
    std::string mDocuments;
    std::string mDownloads;
    std::string mPictures;
    std::string mMusic;
};

// "$HOME/x" and absolute values of a user-dirs.dirs line; nothing for others.
std::optional<std::string> parseUserDirValue(const std::string& value, const std::string& home);

}  // namespace korvex::platform
