// The scan model's list of mounted volumes.

#include "platform/mounts/MountTable.h"
#include "scan/model/CModel.h"

#include <algorithm>

namespace korvex {

namespace {

// File systems of phones and cameras mounted over MTP expose no real sizes.
bool isSystemMTMFS(const std::string& fsType) {
    return fsType == "mtmfs" || fsType == "fuse.jmtpfs" || fsType == "fuse.simple-mtpfs";
}

}  // namespace

std::vector<std::string> CModel::mountedVolumePaths() const {
    std::vector<std::string> paths;
    for (const platform::MountEntry& entry : platform::userVisibleMounts(platform::listMounts())) {
        paths.push_back(entry.mountPoint);
    }
    return paths;
}

void CModel::checkIfValidVolumeAtPath(const std::string& path,
                                      std::vector<std::shared_ptr<VolumeItem>>* andAddTo) {
    std::optional<platform::MountEntry> mount =
        platform::mountForPath(platform::listMounts(), path);
    if (mount && isSystemMTMFS(mount->fsType)) {
        return;
    }
    addVolumeAtPath(path, andAddTo);
}

std::shared_ptr<VolumeItem> CModel::addVolumeAtPath(
    const std::string& path, std::vector<std::shared_ptr<VolumeItem>>* inArray) {
    std::vector<platform::MountEntry> mounts = platform::listMounts();
    std::optional<platform::MountEntry> mount = platform::mountForPath(mounts, path);
    std::optional<platform::VolumeFacts> facts = platform::volumeFacts(path);
    if (!mount || mount->mountPoint != path || !facts) {
        return nullptr;
    }
    std::string name = platform::mountDisplayName(*mount);
    if (facts->capacity == 0 && facts->freeSpace == 0) {
        return nullptr;
    }
    auto volume =
        std::make_shared<VolumeItem>(path, name, facts->capacity, facts->freeSpace, facts->nodes);
    volume->setReservedSize(facts->reserved);
    volume->writeble = !facts->readOnly;
    volume->removable = volume->removable || volume->bInternal == 0;
    // The desktop lets the user unmount what it mounted for them.
    volume->unmountable =
        path != "/" &&
        (path.rfind("/media/", 0) == 0 || path.rfind("/run/media/", 0) == 0 ||
         path.rfind("/mnt/", 0) == 0 || platform::isNetworkFileSystem(mount->fsType));
    if (volume->DAVolumeKind.empty()) {
        volume->DAVolumeKind = mount->fsType;
    }
    volume->reinitFilesList();
    (inArray != nullptr ? *inArray : arrVolumes).push_back(volume);
    return volume;
}

void CModel::enumerateVolumes() {
    arrVolumes.clear();
    for (const std::string& path : mountedVolumePaths()) {
        checkIfValidVolumeAtPath(path, nullptr);
    }
}

bool CModel::updateVolumesInfo() {
    std::vector<std::shared_ptr<VolumeItem>> fresh;
    for (const std::string& path : mountedVolumePaths()) {
        checkIfValidVolumeAtPath(path, &fresh);
    }
    if (fresh.size() != arrVolumes.size()) {
        return false;
    }
    bool changed = false;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (!arrVolumes[i]->isEqual(*fresh[i])) {
            arrVolumes[i]->setPropsFrom(*fresh[i]);
            changed = true;
        }
    }
    return changed;
}

void CModel::removeVolFromList(const std::string& path) {
    auto it = std::find_if(arrVolumes.begin(), arrVolumes.end(),
                           [&](const auto& volume) { return volume->getPath() == path; });
    if (it != arrVolumes.end()) {
        arrVolumes.erase(it);
    }
}

}  // namespace korvex
