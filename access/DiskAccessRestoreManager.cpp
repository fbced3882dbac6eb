#include "access/DiskAccessRestoreManager.h"

#include "platform/mounts/MountTable.h"
#include "platform/settings/SettingsStore.h"
#include "scan/format/PathsGenerator.h"

#include <unistd.h>

namespace korvex {

DiskAccessRestoreManager& DiskAccessRestoreManager::sharedManager() {
    static DiskAccessRestoreManager manager;
    return manager;
}

bool DiskAccessRestoreManager::isPathAccessible(const std::string& path, int mode) const {
    return !path.empty() && ::access(path.c_str(), mode) == 0;
}

bool DiskAccessRestoreManager::isPathAccessible(const std::string& path) const {
    std::optional<std::string> restored = restoreAccessToPathIfNeeded(path);
    return restored && isPathAccessible(*restored, kReadMode);
}

std::optional<std::string> DiskAccessRestoreManager::restoreKept(const std::string& key) const {
    auto kept = platform::SettingsStore::standard().objectForKey(key);
    if (!kept || !kept->is_string()) {
        return std::nullopt;
    }
    std::string path = kept->get<std::string>();
    return isPathAccessible(path, kReadMode) ? std::optional<std::string>(path) : std::nullopt;
}

std::optional<std::string> DiskAccessRestoreManager::restoreAccessToPathIfNeeded(
    const std::string& path) const {
    if (path.empty()) {
        return std::nullopt;
    }
    if (isPathAccessible(path, kReadMode)) {
        return path;
    }
    return restoreKept(path);
}

void DiskAccessRestoreManager::saveAccessToPath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        platform::SettingsStore::standard().setObject(path, path);
    }
}

std::optional<std::string> DiskAccessRestoreManager::restoreAccessToDiskIfNeeded() const {
    return restoreKept(kDiskAccessKey);
}

void DiskAccessRestoreManager::saveAccessToDisk() {
    platform::SettingsStore::standard().setObject(kDiskAccessKey, "/");
}

void DiskAccessRestoreManager::testAcessToApplications() const {
    testAcessToFile(getApplicationsFolderPath());
    testAcessToFile(getApplicationsFolderPath() + "/");
}

void DiskAccessRestoreManager::testAcessToFile(const std::string& path) const {
    (void)isPathAccessible(path, kReadMode);
    (void)isPathAccessible(path, kWriteMode);
}

std::string DiskAccessRestoreManager::getApplicationsFolderPath() {
    // Installed applications' launchers live here on a Linux desktop.
    return "/usr/share/applications";
}

std::string DiskAccessRestoreManager::getUserFolderPath() {
    return PathsGenerator::GetInstance().getHomeDirectory();
}

bool DiskAccessRestoreManager::isApplicationsFolderAccessible() const {
    return isPathAccessible(getApplicationsFolderPath());
}

bool DiskAccessRestoreManager::isUserFolderAccessible() const {
    return isPathAccessible(getUserFolderPath());
}

bool DiskAccessRestoreManager::isDiskAccessible() const {
    return isApplicationsFolderAccessible() && isUserFolderAccessible();
}

bool DiskAccessRestoreManager::isSafeToLoadSynchornous(const std::optional<std::string>& path) {
    if (!path) {
        return false;
    }
    auto mount = platform::mountForPath(platform::listMounts(), *path);
    return !mount || mount->mountPoint == "/" || !platform::isNetworkFileSystem(mount->fsType);
}

}  // namespace korvex
