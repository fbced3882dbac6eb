#include "app/settings/Settings.h"

#include "app/settings/CachedDefaultsValue.h"
#include "platform/dispatch/NotificationCenter.h"

#include <map>
#include <memory>

namespace korvex::Settings {

namespace {

struct CachedSetting {
    const char* key;
    nlohmann::json defaultValue;
};

const CachedSetting kShowHint{"ShowHint", true};
const CachedSetting kSuppressNotScanned{"SuppressSomeFoldersNotScannedAlert", false};
const CachedSetting kShowPurgeableAlert{"ShowCleanPergeableSpaceAlert", true};
const CachedSetting kAllowHidden{"AllowRemovingHiddenFiles", false};
const CachedSetting kAppearance{"AppAppearanceTypeValueKey", 0};
const CachedSetting kKeepHistory{"KeepScanHistory", false};

std::map<std::string, std::unique_ptr<CachedDefaultsValue>>& cache() {
    static std::map<std::string, std::unique_ptr<CachedDefaultsValue>> values;
    return values;
}

// Created on first use; all on the main thread.
CachedDefaultsValue& cached(const CachedSetting& setting) {
    auto& slot = cache()[setting.key];
    if (slot == nullptr) {
        slot = std::make_unique<CachedDefaultsValue>(setting.key, setting.defaultValue);
    }
    return *slot;
}

template <class Check>
std::optional<nlohmann::json> storedOfKind(const std::string& key, Check isKind) {
    auto stored = platform::SettingsStore::standard().objectForKey(key);
    return stored && isKind(*stored) ? stored : std::nullopt;
}

}  // namespace

bool showHintForSelectedItem() {
    return cached(kShowHint).getBoolValue();
}
void setShowHintForSelectedItem(bool on) {
    cached(kShowHint).saveBoolValue(on);
}
bool keepScanHistory() {
    return cached(kKeepHistory).getBoolValue();
}
void setKeepScanHistory(bool on) {
    cached(kKeepHistory).saveBoolValue(on);
}
bool suppressSomeFoldersNotScannedAlert() {
    return cached(kSuppressNotScanned).getBoolValue();
}
void setSuppressSomeFoldersNotScannedAlert(bool on) {
    cached(kSuppressNotScanned).saveBoolValue(on);
}
bool showCleanPergeableSpaceAlert() {
    return cached(kShowPurgeableAlert).getBoolValue();
}
void setShowCleanPergeableSpaceAlert(bool on) {
    cached(kShowPurgeableAlert).saveBoolValue(on);
}
bool allowRemovingHiddenFiles() {
    return cached(kAllowHidden).getBoolValue();
}
void setAllowRemovingHiddenFiles(bool on) {
    cached(kAllowHidden).saveBoolValue(on);
    platform::NotificationCenter::defaultCenter().post(kAllowRemovingHiddenFilesChanged, on);
}
unsigned long long appAppearanceTypeValue() {
    return cached(kAppearance).getUnsignedLongLongValue();
}
void setAppAppearanceTypeValue(unsigned long long value) {
    cached(kAppearance).saveUnsignedLongLongValue(value);
}

void resetCache() {
    cache().clear();
}

unsigned long long getUnsignedLongLongValueForKey(const std::string& key,
                                                  unsigned long long defaultValue) {
    return CachedDefaultsValue(key, defaultValue).getUnsignedLongLongValue();
}

bool getBoolValueForKey(const std::string& key, bool defaultValue) {
    return CachedDefaultsValue(key, defaultValue).getBoolValue();
}

std::optional<std::string> getStringValueForKey(const std::string& key) {
    auto stored = storedOfKind(key, [](const nlohmann::json& v) { return v.is_string(); });
    return stored ? std::optional<std::string>(stored->get<std::string>()) : std::nullopt;
}

nlohmann::json getArrayValueForKey(const std::string& key, const nlohmann::json& defaultValue) {
    auto stored = storedOfKind(key, [](const nlohmann::json& v) { return v.is_array(); });
    return stored ? *stored : defaultValue;
}

nlohmann::json getDictionaryValueForKey(const std::string& key,
                                        const nlohmann::json& defaultValue) {
    auto stored = storedOfKind(key, [](const nlohmann::json& v) { return v.is_object(); });
    return stored ? *stored : defaultValue;
}

void saveUnsignedLongLongValue(unsigned long long value, const std::string& key) {
    platform::SettingsStore::standard().setObject(key, value);
}
void saveBoolValue(bool value, const std::string& key) {
    platform::SettingsStore::standard().setObject(key, value);
}
void saveArrayValue(const nlohmann::json& value, const std::string& key) {
    platform::SettingsStore::standard().setObject(key, value);
}
void saveDictionaryValue(const nlohmann::json& value, const std::string& key) {
    platform::SettingsStore::standard().setObject(key, value);
}
void saveStringValue(const std::string& value, const std::string& key) {
    platform::SettingsStore::standard().setObject(key, value);
}
void removeValueForKey(const std::string& key) {
    platform::SettingsStore::standard().removeObjectForKey(key);
}

}  // namespace korvex::Settings
