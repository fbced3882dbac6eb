#pragma once

#include <nlohmann/json.hpp>

#include <mutex>
#include <optional>
#include <string>

namespace korvex::platform {

// The per-user key-value store: one JSON object in a file under the XDG
// config folder. Every change is written at once, atomically (a temporary
// file renamed over the old one), so a crash or a full disk never leaves a
// half-written store. Two processes may write it: each save re-reads the file
// under a lock and changes only its own key, so other keys survive and the
// file is never corrupt. A file that cannot be parsed is kept aside as a
// backup and the store starts empty.
class SettingsStore {
  public:
    explicit SettingsStore(std::string path);

    // The application's store: $XDG_CONFIG_HOME/korvex/settings.json.
    static SettingsStore& standard();
    // Points the standard store at another file (tests); the next standard() reads it.
    static void useStandardFile(const std::string& path);
    // Drops the standard store from memory; the next standard() reads the file
    // anew, as a new process would.
    static void discardStandard();
    static std::string defaultPath();

    std::optional<nlohmann::json> objectForKey(const std::string& key) const;
    // Stores and writes through; answers whether the file was written.
    bool setObject(const std::string& key, const nlohmann::json& value);
    bool removeObjectForKey(const std::string& key);

    const std::string& path() const { return mPath; }
    // Where an unreadable file was moved, when that happened on load.
    const std::optional<std::string>& backupPath() const { return mBackup; }

  private:
    nlohmann::json readFile(bool keepBackup);
    bool writeChange(const std::string& key, const std::optional<nlohmann::json>& value);

    std::string mPath;
    mutable std::mutex mMutex;
    nlohmann::json mValues;
    std::optional<std::string> mBackup;
};

}  // namespace korvex::platform
