#include "platform/settings/SettingsStore.h"

#include "platform/UserFolders.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvex::platform {

namespace {

std::string& standardPathSlot() {
    static std::string path;
    return path;
}

// An exclusive advisory lock on a companion file, held while reading and
// rewriting the store.
class FileLock {
  public:
    explicit FileLock(const std::string& path)
        : mFd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (mFd >= 0) {
            ::flock(mFd, LOCK_EX);
        }
    }
    ~FileLock() {
        if (mFd >= 0) {
            ::flock(mFd, LOCK_UN);
            ::close(mFd);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int mFd;
};

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes `text` beside `path` and renames it into place; the old file stays
// whole when anything fails.
bool replaceFileAtomically(const std::string& path, const std::string& text) {
    std::string temp = path + ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

SettingsStore::SettingsStore(std::string path) : mPath(std::move(path)) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(mPath).parent_path(), ec);
    FileLock lock(mPath);
    mValues = readFile(true);
}

std::string SettingsStore::defaultPath() {
    return UserFolders::current().configHome() + "/korvex/settings.json";
}

namespace {
std::mutex gStandardMutex;
std::unique_ptr<SettingsStore> gStandard;
}  // namespace

void SettingsStore::discardStandard() {
    std::lock_guard guard(gStandardMutex);
    gStandard.reset();
}

SettingsStore& SettingsStore::standard() {
    std::lock_guard guard(gStandardMutex);
    std::unique_ptr<SettingsStore>& store = gStandard;
    std::string wanted = standardPathSlot().empty() ? defaultPath() : standardPathSlot();
    if (store == nullptr || store->path() != wanted) {
        store = std::make_unique<SettingsStore>(wanted);
    }
    return *store;
}

void SettingsStore::useStandardFile(const std::string& path) {
    standardPathSlot() = path;
}

nlohmann::json SettingsStore::readFile(bool keepBackup) {
    std::ifstream file(mPath);
    if (!file) {
        return nlohmann::json::object();
    }
    std::stringstream text;
    text << file.rdbuf();
    nlohmann::json parsed = nlohmann::json::parse(text.str(), nullptr, false);
    if (!parsed.is_discarded() && parsed.is_object()) {
        return parsed;
    }
    if (keepBackup) {
        auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
        std::string backup = mPath + ".corrupt-" + std::to_string(stamp);
        if (::rename(mPath.c_str(), backup.c_str()) == 0) {
            mBackup = backup;
        }
    }
    return nlohmann::json::object();
}

std::optional<nlohmann::json> SettingsStore::objectForKey(const std::string& key) const {
    std::lock_guard guard(mMutex);
    auto it = mValues.find(key);
    if (it == mValues.end()) {
        return std::nullopt;
    }
    return *it;
}

bool SettingsStore::setObject(const std::string& key, const nlohmann::json& value) {
    return writeChange(key, value);
}

bool SettingsStore::removeObjectForKey(const std::string& key) {
    return writeChange(key, std::nullopt);
}

bool SettingsStore::writeChange(const std::string& key,
                                const std::optional<nlohmann::json>& value) {
    std::lock_guard guard(mMutex);
    if (value) {
        mValues[key] = *value;
    } else {
        mValues.erase(key);
    }
    FileLock lock(mPath);
    // Another process may have written other keys since this one loaded.
    nlohmann::json onDisk = readFile(true);
    if (value) {
        onDisk[key] = *value;
    } else {
        onDisk.erase(key);
    }
    for (auto it = onDisk.begin(); it != onDisk.end(); ++it) {
        if (!mValues.contains(it.key())) {
            mValues[it.key()] = it.value();
        }
    }
    // JSON text must be UTF-8: stray bytes in a value (a path, say) are
    // replaced rather than failing the whole save.
    return replaceFileAtomically(
        mPath, onDisk.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

}  // namespace korvex::platform
