#pragma once

#include <optional>
#include <string>

namespace korvex {

// Keeps the folders the user granted access to across launches. Linux has no
// per-application grants, so what is kept is the plain path, under the same
// keys: the path itself, or "DISK_ACCESS_DATA" for the whole disk. A kept
// path counts only while the process can actually read it.
class DiskAccessRestoreManager {
  public:
    static constexpr int kReadMode = 4;   // R_OK
    static constexpr int kWriteMode = 2;  // W_OK
    static constexpr const char* kDiskAccessKey = "DISK_ACCESS_DATA";

    static DiskAccessRestoreManager& sharedManager();

    bool isPathAccessible(const std::string& path, int mode) const;
    bool isPathAccessible(const std::string& path) const;
    bool isDiskURLAccessible(const std::string& path) const {
        return isPathAccessible(path, kReadMode);
    }
    std::optional<std::string> restoreAccessToPathIfNeeded(const std::string& path) const;
    void saveAccessToPath(const std::string& path);
    std::optional<std::string> restoreAccessToDiskIfNeeded() const;
    void saveAccessToDisk();
    // Probe read and then write access so the system notes the attempt.
    void testAcessToDisk() const { testAcessToFile("/"); }
    void testAcessToApplications() const;
    void testAcessToFile(const std::string& path) const;

    static std::string getApplicationsFolderPath();
    static std::string getUserFolderPath();
    bool isApplicationsFolderAccessible() const;
    bool isUserFolderAccessible() const;
    bool isDiskAccessible() const;
    void saveAccessToApplicationsFolder() { saveAccessToPath(getApplicationsFolderPath()); }
    void saveAccessToUserFolder() { saveAccessToPath(getUserFolderPath()); }
    // A kept path may be checked at once unless it lies on another volume,
    // which may be slow to answer.
    static bool isSafeToLoadSynchornous(const std::optional<std::string>& path);
    static std::string safelyResolvedURLFormUserDefaultsWithPath(const std::string& path) {
        return path;
    }

  private:
    std::optional<std::string> restoreKept(const std::string& key) const;
};

}  // namespace korvex
